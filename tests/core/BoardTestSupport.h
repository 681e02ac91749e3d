#pragma once
// Shared pieces of the board tests: small component classes, stream helpers and a fixture
// that registers the classes and resets the program-wide state.

#include "core/board/BoardClasses.h"
#include "core/board/BoardHooks.h"
#include "core/board/BtPin.h"
#include "core/board/Makro.h"
#include "core/board/Platine.h"
#include "core/board/Segment.h"
#include "core/board/Textlabel.h"
#include "core/model/ClassRegistry.h"
#include "core/model/GrundBT.h"
#include "platform/Context.h"
#include "platform/Filer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <functional>
#include <initializer_list>
#include <memory>

// A block-symbol component with one input: designators LED1, LED2 ...
class TTestLed : public TGrundBT {
public:
    TV_CLASS_NAME(TTestLed)
    TTestLed()
    {
        SetInputCount(1);
        SetPrefix(QStringLiteral("LED"));
    }
    QString GetTypeName() const override { return QStringLiteral("LED"); }
};

// A block-symbol component with two inputs and one output: designators G1, G2 ...
class TTestAnd : public TGrundBT {
public:
    TV_CLASS_NAME(TTestAnd)
    TTestAnd()
    {
        SetInputCount(2);
        SetOutputCount(1);
        SetPrefix(QStringLiteral("G"));
    }
    QString GetTypeName() const override { return QStringLiteral("AND"); }
};

// Bytes from a list of byte values.
inline QByteArray B(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (int b : bytes)
        out.append(static_cast<char>(b));
    return out;
}

// Serialises through a writer callback.
inline QByteArray WriteBytes(const std::function<void(TWriter&)>& write, bool fileStream = false)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer, fileStream);
    write(writer);
    buffer.close();
    return data;
}

inline QByteArray WriteBoard(TPlatine& board, bool fileStream = false, bool selectionOnly = false)
{
    return WriteBytes([&](TWriter& w) { board.WriteCircuit(w, selectionOnly); }, fileStream);
}

// Reads a circuit into the board; returns the number of bytes left unread.
inline qint64 ReadBoard(TPlatine& board, QByteArray data, uint8_t version = 44,
                        bool fileStream = false)
{
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer, fileStream);
    board.ReadCircuit(reader, version);
    return reader.BytesLeft();
}

template <class T>
T* Add(TPlatine& board)
{
    return static_cast<T*>(board.AddComponent(NewObject<T>()));
}

// Items of a class on a board, in item order.
template <class T>
std::vector<T*> ItemsOf(const TPlatine& board)
{
    std::vector<T*> out;
    for (const auto& item : board.Items) {
        if (auto* t = dynamic_cast<T*>(item.get()))
            out.push_back(t);
    }
    return out;
}

inline std::vector<TSegment*> PinSegments(const TPlatine& board)
{
    std::vector<TSegment*> out;
    for (TSegment* s : ItemsOf<TSegment>(board)) {
        if (s->Owner)
            out.push_back(s);
    }
    return out;
}

class BoardFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        ResetBoardHooks();
        RegisterCoreBaseClasses(ClassRegistry());
        RegisterBoardClasses(ClassRegistry());
        ClassRegistry().RegisterClass<TTestLed>();
        ClassRegistry().RegisterClass<TTestAnd>();
    }
    void TearDown() override
    {
        ResetBoardHooks();
        ResetContext();
    }
};
