#include "widgets/Buffer.h"

#include "platform/Filer.h"
#include "widgets/Compression.h"

#include <cstdlib>
#include <cstring>

namespace {

const char kSignature[] = "@WLXBufferStream-V0.1@";
constexpr int kSignatureSize = int(sizeof(kSignature));  // with its zero byte: 23

} // namespace

// ---- buffer ---------------------------------------------------------------------------------

void TWLXBuffer::DisposeItem(TItem item)
{
    if (OnDisposeItem)
        OnDisposeItem(this, item);
    else
        std::free(item);
}

int TWLXBuffer::GetItemSize(TPosition position) const
{
    int size = 0;
    if (OnItemSizeQuery)
        OnItemSizeQuery(const_cast<TWLXBuffer*>(this), GetItem(position), size);
    return size;
}

void TWLXBuffer::SaveToStream(TWriter& writer) const
{
    writer.WriteRawInt32(kSignatureSize);
    writer.WriteBuffer(kSignature, kSignatureSize);
    for (TPosition p = First(); !IsEnd(p); Next(p)) {
        const int size = std::max(GetItemSize(p), 0);
        writer.WriteRawInt32(size);
        writer.WriteBuffer(GetItem(p), size);
    }
}

void TWLXBuffer::LoadFromStream(TReader& reader)
{
    const int32_t length = reader.ReadRawInt32();
    if (length < 0 || length > reader.BytesLeft())
        throw EDamagedData();
    const QByteArray text = reader.ReadBytes(length);
    if (qstrcmp(text.constData(), kSignature) != 0)
        return;
    // Every size is checked against what is left before a block is made.
    std::vector<QByteArray> blocks;
    while (!reader.AtEnd()) {
        const int32_t size = reader.ReadRawInt32();
        if (size < 0 || size > reader.BytesLeft())
            throw EDamagedData();
        blocks.push_back(reader.ReadBytes(size));
    }
    Clear();
    for (const QByteArray& block : blocks) {
        void* item = std::malloc(size_t(std::max<qsizetype>(block.size(), 1)));
        if (!item)
            throw EDamagedData();
        std::memcpy(item, block.constData(), size_t(block.size()));
        Push(item);
    }
}

// ---- stack ----------------------------------------------------------------------------------

TWLXDynLIFOBuffer::~TWLXDynLIFOBuffer()
{
    Clear();
}

TWLXBuffer::TPosition TWLXDynLIFOBuffer::First() const
{
    const TNode* node = m_top;
    while (node && node->older)
        node = node->older;
    return node;
}

void TWLXDynLIFOBuffer::Next(TPosition& position) const
{
    // The next newer node is the one whose link points at this one.
    const TNode* node = m_top;
    while (node && node->older != position)
        node = node->older;
    position = node && node != position ? node : nullptr;
}

TWLXBuffer::TItem TWLXDynLIFOBuffer::GetItem(TPosition position) const
{
    return position ? static_cast<const TNode*>(position)->item : nullptr;
}

TWLXBuffer::TItem TWLXDynLIFOBuffer::Top() const
{
    return m_top ? m_top->item : nullptr;
}

void TWLXDynLIFOBuffer::Push(TItem item)
{
    if (IsFull()) {
        if (!CircularMode)
            return;
        if (MaxCount <= 1) {
            Clear();
        } else {
            // Drop the oldest node.
            TNode* newer = nullptr;
            TNode* oldest = m_top;
            while (oldest->older) {
                newer = oldest;
                oldest = oldest->older;
            }
            if (newer)
                newer->older = nullptr;
            else
                m_top = nullptr;
            DisposeItem(oldest->item);
            delete oldest;
            --m_count;
        }
    }
    m_top = new TNode{item, m_top};
    ++m_count;
}

TWLXBuffer::TItem TWLXDynLIFOBuffer::Pop()
{
    if (!m_top)
        return nullptr;
    TNode* node = m_top;
    m_top = node->older;
    TItem item = node->item;
    delete node;
    --m_count;
    return item;
}

void TWLXDynLIFOBuffer::Clear()
{
    while (m_top) {
        TNode* node = m_top;
        m_top = node->older;
        DisposeItem(node->item);
        delete node;
    }
    m_count = 0;
}
