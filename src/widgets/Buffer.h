#pragma once
// Buffers of untyped items (pointers to memory blocks) with a largest count, an event that
// disposes of items and a stream format. TWLXDynLIFOBuffer is a stack that, when full, drops its
// oldest item to make room (CircularMode) or refuses the new one.
//
// The buffer owns what it holds: an item it drops or clears is handed to OnDisposeItem, or
// freed with std::free when no handler is set (LoadFromStream makes its blocks that way). An
// item refused by a full stack stays with the caller, as does an item taken by Pop.
//
// Stream: Int32 23, "@WLXBufferStream-V0.1@" and a zero byte, then from the oldest to the
// newest item Int32 size (from OnItemSizeQuery, else 0) and the item's bytes.

#include "widgets/WLXObject.h"

#include <cstdint>
#include <functional>

class TReader;
class TWriter;

class TWLXBuffer : public TWLXObject {
public:
    using TItem = void*;
    using TPosition = const void*;

    int Count() const { return m_count; }
    int MaxCount = -1;  // -1: no limit
    std::function<void(TWLXBuffer* sender, TItem item)> OnDisposeItem;
    std::function<void(TWLXBuffer* sender, TItem item, int& size)> OnItemSizeQuery;

    // Walking from the oldest item to the newest: First, then Next until IsEnd.
    virtual TPosition First() const = 0;
    virtual void Next(TPosition& position) const = 0;
    virtual TItem GetItem(TPosition position) const = 0;
    virtual bool IsEnd(TPosition position) const = 0;
    virtual bool IsEmpty() const = 0;
    virtual bool IsFull() const = 0;
    virtual void Push(TItem item) = 0;
    virtual TItem Pop() = 0;
    virtual void Clear() = 0;

    // Refuses a stream that promises more than it holds with EDamagedData; a stream without the
    // signature leaves the buffer as it was.
    void LoadFromStream(TReader& reader);
    void SaveToStream(TWriter& writer) const;
    int GetItemSize(TPosition position) const;

protected:
    void DisposeItem(TItem item);
    int m_count = 0;
};

class TWLXDynLIFOBuffer : public TWLXBuffer {
public:
    TWLXDynLIFOBuffer() = default;
    ~TWLXDynLIFOBuffer() override;

    bool CircularMode = true;

    TPosition First() const override;
    void Next(TPosition& position) const override;
    TItem GetItem(TPosition position) const override;
    bool IsEnd(TPosition position) const override { return position == nullptr; }
    bool IsEmpty() const override { return m_top == nullptr; }
    bool IsFull() const override { return MaxCount != -1 && m_count >= MaxCount; }
    void Push(TItem item) override;
    TItem Pop() override;
    void Clear() override;
    // The newest item (none when empty).
    TItem Top() const;

private:
    struct TNode {
        TItem item;
        TNode* older;
    };
    TNode* m_top = nullptr;
};
