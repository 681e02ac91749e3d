#pragma once
// The image-list link a control holds: the list, the image index inside the list item and the
// list index. The control hears of every change of the linked list, of the link and of the
// list going away (the link is then empty).
//
// In the control's component stream: "ImageList" (the list's name) unless it is one of the
// global lists, "ImageIndex" and "ListIndex" when not 0, and "Internal" with the name of a
// global list.

#include "widgets/WLXObject.h"

#include <QString>
#include <functional>

class TWLXComponentReader;
class TWLXComponentWriter;
class TWLXCustomImageList;

// How a stream's image-list name finds its list.
using TWLXImageListResolver = std::function<TWLXCustomImageList*(const QString& name)>;

class TWLXImageLink {
public:
    explicit TWLXImageLink(std::function<void()> changed);
    ~TWLXImageLink();
    TWLXImageLink(const TWLXImageLink&) = delete;
    TWLXImageLink& operator=(const TWLXImageLink&) = delete;

    TWLXCustomImageList* List() const;
    void SetList(TWLXCustomImageList* list);
    int ImageIndex() const { return m_imageIndex; }
    int ListIndex() const { return m_listIndex; }
    // 0 ImageIndex, 1 ListIndex; negative or unchanged values are ignored; a change is told
    // when a list is linked.
    void SetIndex(int index, int value);
    // A list is linked and has a picture at ListIndex / ImageIndex.
    bool HasImage() const;

    void Write(TWLXComponentWriter& writer) const;
    // Takes one of the link's properties; false for another one.
    bool Read(const QString& name, TWLXComponentReader& reader, const TWLXImageListResolver& resolve);

private:
    TWLXChangeLink m_link;
    std::function<void()> m_changed;
    int m_imageIndex = 0;
    int m_listIndex = 0;
};
