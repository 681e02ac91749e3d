#pragma once
// Shared pieces of the page, window and record tests: two small element classes (a switch
// with one state key, and a stand-in decor label when the real one is not registered), a
// fixture with a clean program state, and stream helpers.

#include "core/model/Translator.h"
#include "frontpanel/Design.h"
#include "frontpanel/ElementRegistry.h"
#include "frontpanel/FP_Element.h"
#include "frontpanel/Sizer.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QWidget>

#include <functional>
#include <memory>

// An element with state: "Status" in its settings section; a start value; one hotkey.
class TTestSwitchElement : public TFP_Element {
public:
    FP_CLASS_NAME(TTestSwitchElement)
    explicit TTestSwitchElement(QWidget* owner = nullptr)
        : TFP_Element(owner)
    {
        resize(40, 20);
    }

    int32_t Status = 0;
    int32_t StartValue = 0;
    int32_t StartCalls = 0;
    QString KeyLog;
    int EditResult = 0;  // what the properties dialog answers
    int EditCalls = 0;

    int EditProperties() override
    {
        ++EditCalls;
        return EditResult;
    }
    void ApplyStartValue() override
    {
        Status = StartValue;
        ++StartCalls;
    }
    void SaveSettings(TIniFile& ini, const QString& path) override
    {
        ini.WriteInteger(path + u'.' + ElementName, QStringLiteral("Status"), Status);
    }
    bool LoadSettings(TIniFile& ini, const QString& path, bool checkOnly) override
    {
        const QString section = path + u'.' + ElementName;
        if (checkOnly)
            return ini.ValueExists(section, QStringLiteral("Status"));
        Status = ini.ReadInteger(section, QStringLiteral("Status"), Status);
        return true;
    }
    void HotkeyDown(uint16_t key, uint8_t) override { KeyLog += ElementName + u'+' + QString::number(key) + u' '; }
    void HotkeyUp(uint16_t key, uint8_t) override { KeyLog += ElementName + u'-' + QString::number(key) + u' '; }
};

// A decor class name. When the real label is not registered, a plain element stands in.
inline constexpr const char* kDecorClass = "TBeschriftung";

class TStandInLabel : public TFP_Element {
public:
    const char* ClassName() const override { return kDecorClass; }
    explicit TStandInLabel(QWidget* owner = nullptr)
        : TFP_Element(owner)
    {
        resize(60, 16);
    }
};

inline void RegisterTestElements()
{
    TElementRegistry& registry = ElementRegistry();
    registry.RegisterElement<TTestSwitchElement>();
    registry.RegisterElement<TDesign>();
    if (!registry.IsRegistered(QString::fromLatin1(kDecorClass)))
        registry.Register(QString::fromLatin1(kDecorClass), [](QWidget* owner) -> TFP_Element* {
            auto* e = new TStandInLabel(owner);
            e->AfterConstruction();
            return e;
        });
}

// Fresh program and front-panel state; a root page of 600 x 400 with a hidden panel.
class DesignFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        ResetFrontPanelState();
        BuildTranslationTable();
        RegisterTestElements();
        host = std::make_unique<QWidget>();
        host->resize(700, 500);
        hidden = new QWidget(host.get());
        hidden->hide();
        FPState().HiddenPanel = hidden;
        page = new TDesign(host.get());
        page->setGeometry(0, 0, 600, 400);
        page->ElementName = QStringLiteral("Frontplatte");
    }
    void TearDown() override
    {
        delete page;
        page = nullptr;
        host.reset();
        ResetFrontPanelState();
        ResetContext();
    }

    TTestSwitchElement* AddSwitch(const QString& name, QRect bounds)
    {
        auto* e = static_cast<TTestSwitchElement*>(page->AddElement(QStringLiteral("TTestSwitchElement")));
        e->ElementName = name;
        e->setGeometry(bounds);
        return e;
    }
    TFP_Element* AddLabel(const QString& hint, QRect bounds)
    {
        TFP_Element* e = page->AddElement(QString::fromLatin1(kDecorClass));
        e->Hint = hint;
        e->setGeometry(bounds);
        return e;
    }

    std::unique_ptr<QWidget> host;
    QWidget* hidden = nullptr;
    TDesign* page = nullptr;
};

// The bytes that `write` puts into a stream.
inline QByteArray BytesOf(const std::function<void(TWriter&)>& write, bool fileStream = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer, fileStream);
    write(writer);
    return bytes;
}

// Runs `read` over the bytes; returns the number of bytes left unread.
inline qint64 ReadBytes(const QByteArray& bytes, const std::function<void(TReader&)>& read,
                        bool fileStream = false)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer, fileStream);
    read(reader);
    return reader.BytesLeft();
}
