#pragma once
// Items with pictures, as the image list box and the image combo box show them: an item string
// "text|3" shows the text before the delimiter and image 3 of the linked image list, or item i
// shows image i (lboImageListOrder). A bitmap list gives image n as its item n, an image list as
// image n of its item ListIndex. An image may hold several glyphs side by side, of which one
// column is shown.

#include "widgets/Frames.h"
#include "widgets/ImageLink.h"

#include <QFont>
#include <QImage>
#include <functional>

class TCanvas;
class TWLX3DCaption;
class TWLXCustomImageList;
class TWLXGlyphTextLayout;

enum TWLXImageBoxOption : uint8_t {
    lboImageListOrder = 1, lboCheckImageNr = 2, lboCalcHeight = 4, lboTransparentImages = 8
};

class TWLXImageItems {
public:
    // `changed` runs when the list, the list index or the glyph settings change; `repaint` when
    // the delimiter or the default image does.
    TWLXImageItems(std::function<void()> changed, std::function<void()> repaint);

    TWLXCustomImageList* ImageList() const { return m_link.List(); }
    void SetImageList(TWLXCustomImageList* list);
    int ListIndex() const { return m_link.ListIndex(); }
    // Negative values are ignored.
    void SetListIndex(int value) { m_link.SetIndex(1, value); }
    // The image-list link in the control's component stream.
    TWLXImageLink& Link() { return m_link; }

    QChar Delimiter() const { return m_delimiter; }
    void SetDelimiter(QChar value);
    // The image of an item string without a delimiter (-1: none).
    int DefaultItem() const { return m_defaultItem; }
    void SetDefaultItem(int value);
    // Set through the control, whose item heights depend on it.
    uint8_t Options = lboImageListOrder | lboCheckImageNr;

    int GlyphNumber() const { return m_glyphNumber; }
    // 0 is ignored; a glyph column beyond the new number moves to the last column.
    void SetGlyphNumber(int value);
    int GlyphColumn() const { return m_glyphColumn; }
    // Columns beyond GlyphNumber are ignored.
    void SetGlyphColumn(int value);

    // No list, or a list with no items.
    bool NoImages() const;
    // The number of images the items can show.
    int ImageCount() const;
    // The image of item `index` whose string is `item` (of `count` items); -1 for none.
    int ImageNumberOf(int index, int count, const QString& item) const;
    // The text shown: with lboCheckImageNr the part before the first delimiter.
    QString DisplayText(const QString& item) const;
    static QString TextBefore(const QString& item, QChar delimiter);
    bool ImageExists(int n) const;
    // The size of image n (one glyph column wide); 0 when there is no such image.
    int ImageWidth(int n) const;
    int ImageHeight(int n) const;
    // Draws the text with image n (none for n < 0) laid out in dest.
    void Draw(TCanvas& canvas, const QString& text, const TWLX3DCaption* caption, const TWLXRect& dest,
              int n, const TWLXGlyphTextLayout& layout, unsigned format, bool multiLine, unsigned state,
              const QFont& font) const;

private:
    // The list item and the image index of image n.
    void Address(int n, int* listIndex, int* imageIndex) const;

    TWLXImageLink m_link;
    int m_glyphNumber = 1;
    int m_glyphColumn = 0;
    QChar m_delimiter = u'|';
    int m_defaultItem = -1;
    std::function<void()> m_changed;
    std::function<void()> m_repaint;
};
