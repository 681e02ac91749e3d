#pragma once
// Helpers of the input-element tests: a clean program state, keys and focus changes sent to a
// widget as the operator's keyboard sends them, hotkeys pressed through the element, and
// elements streamed into new ones.

#include "frontpanel/FP_Element.h"
#include "core/model/Translator.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/Locale.h"
#include "ui/Hotkey.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include <memory>

class EntryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        ResetFrontPanelState();
        BuildTranslationTable();
        SetDecimalSeparatorForTesting(QLatin1Char(','));
    }
    void TearDown() override
    {
        SetDecimalSeparatorForTesting(QChar());
        ResetFrontPanelState();
        ResetContext();
    }
};

// Presses and releases the key of each character of `text` in the widget (Enter for "\r").
inline void Type(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        const int key = c == QLatin1Char('\r') ? int(Qt::Key_Return) : int(c.toUpper().unicode());
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(w, &release);
    }
}

inline void SendKey(QWidget* w, QEvent::Type type, int key, const QString& text, bool autoRepeat = false)
{
    QKeyEvent event(type, key, Qt::NoModifier, text, autoRepeat);
    QCoreApplication::sendEvent(w, &event);
}

// The operator leaves the widget for another control of the window.
inline void Leave(QWidget* w)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(w, &out);
}

// Gives hotkey i of the element a key and an action and presses it.
inline void PressHotkey(TFP_Element& e, size_t i, int32_t action)
{
    const uint16_t key = uint16_t('A' + i);
    e.Hotkeys.at(i)->Key = key;
    e.Hotkeys.at(i)->Action = action;
    e.HotkeyDown(key, 0);
    e.HotkeyUp(key, 0);
}

// The element's record.
inline QByteArray Streamed(TFP_Element& e)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer);
    e.WriteElementData(writer);
    return bytes;
}

// The element's record as projects older than format version 43 hold it: without the web
// fields of the common element data.
inline QByteArray RecordBefore43(TFP_Element& e)
{
    struct TWebFields : TFP_Element {
        using TFP_Element::WriteWebData;
    };
    const QByteArray full = Streamed(e);
    QByteArray base;
    {
        QBuffer buffer(&base);
        buffer.open(QIODevice::WriteOnly);
        TWriter writer(buffer);
        e.TFP_Element::WriteElementData(writer);
    }
    TWebFields fields;
    fields.WebSortOrder = e.WebSortOrder;
    fields.WebPublish = e.IsPublished();
    fields.WebShowTitle = e.WebShowTitle;
    fields.WebHeadLines = e.WebHeadLines;
    fields.WebFootLines = e.WebFootLines;
    QByteArray web;
    {
        QBuffer buffer(&web);
        buffer.open(QIODevice::WriteOnly);
        TWriter writer(buffer);
        fields.WriteWebData(writer);
    }
    return base.left(base.size() - web.size()) + full.mid(base.size());
}

// A new element of class T that read the record at the format version; false in `usedUp`
// when bytes were left over.
template <class T>
std::unique_ptr<T> ReadBack(QByteArray bytes, uint8_t version = 44, bool* usedUp = nullptr)
{
    std::unique_ptr<T> e(NewElement<T>(nullptr));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    e->ReadElementData(reader, version);
    if (usedUp)
        *usedUp = reader.BytesLeft() == 0;
    return e;
}

// The captions of a settings dialog's rows, in order.
inline QStringList RowCaptions(QDialog& d)
{
    QStringList captions;
    for (const auto& row : static_cast<TDefault_Dlg&>(d).PropScrollbox->Rows())
        captions << row->Caption;
    return captions;
}
