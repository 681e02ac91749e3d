#pragma once
// The string list and the wave list: containers whose items are a list of lines or one sound.
// Item data: the item header with bit 3 set when data follow, then the lines (as one text in
// Windows-1252, each line ended by CR LF) or the sound, as item data.

#include "widgets/Container.h"
#include "widgets/Wave.h"

#include <QStringList>

class TWLXStringListItem : public TWLXListItem {
public:
    QString ClassName() const override { return QStringLiteral("TWLXStringListItem"); }

    QStringList Items;

    void ClearData() override { Items.clear(); }
    bool IsEmpty() const override { return Items.isEmpty(); }
    uint8_t GetHeaderFlags() const override;
    void SaveData(TWriter& writer) const override;
    void LoadData(TReader& reader) override;
    void Assign(const TWLXListItem& source) override;
};

class TWLXStringList : public TWLXCustomContainer {
public:
    TWLXStringList() : TWLXCustomContainer(ctStringList) {}
    QString ClassName() const override;
    std::unique_ptr<TWLXListItem> NewItem() const override;
    TWLXStringListItem* Item(int index) const;
};

class TWLXWaveListItem : public TWLXListItem {
public:
    QString ClassName() const override { return QStringLiteral("TWLXWaveListItem"); }

    TWLXWave Wave;

    void ClearData() override { Wave.Clear(); }
    bool IsEmpty() const override { return Wave.IsEmpty(); }
    uint8_t GetHeaderFlags() const override;
    void SaveData(TWriter& writer) const override;
    void LoadData(TReader& reader) override;
    void Assign(const TWLXListItem& source) override;
};

class TWLXWaveList : public TWLXCustomContainer {
public:
    TWLXWaveList() : TWLXCustomContainer(ctWaveList) {}
    QString ClassName() const override;
    std::unique_ptr<TWLXListItem> NewItem() const override;
    TWLXWaveListItem* Item(int index) const;
};
