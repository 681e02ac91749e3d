// The widget library's stored formats: the first byte chooses the reader, the rest is its
// input. 0 a compressed block stream; 1 a container file of any type; 2 a component stream of
// each list; 3 a bitmap file image; 4 the item data of each kind of item; 5 a buffer stream;
// 6 a scrambled setting value.

#include "FuzzSupport.h"

#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "widgets/BmpFile.h"
#include "widgets/ComponentStream.h"
#include "widgets/Compression.h"
#include "widgets/Buffer.h"
#include "widgets/GlobalContainer.h"
#include "widgets/TextCoding.h"

#include <QBuffer>

#include <exception>

namespace {

template <class F>
void Read(const QByteArray& bytes, F&& read)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer, true);
    try {
        read(reader);
    } catch (const std::exception&) {
        // Refused with an error: what the input should get.
    }
}

void ReadContainerFile(const QString& name)
{
    int count = 0;
    std::vector<int32_t> offsets;
    TWLXContainerType type = ctUnknown;
    try {
        type = ReadContainerIndex(name, &count, &offsets);
    } catch (const std::exception&) {
        return;
    }
    TWLXImageList images;
    TWLXBitmapList bitmaps;
    TWLXStringList strings;
    TWLXWaveList waves;
    TWLXCustomContainer* lists[] = {&images, &bitmaps, &waves, &strings};
    if (type > ctStringList)
        return;
    TWLXCustomContainer& list = *lists[type];
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<TWLXListItem> item = list.NewItem();
        try {
            LoadItemFromFile(name, type, &offsets, *item, i);
        } catch (const std::exception&) {
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TScopedMessageResponder& boxes = FuzzSetUp();
    if (size < 1)
        return 0;
    const QByteArray input(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    switch (data[0] % 7) {
    case 0:
        Read(input, [](TReader& r) { ReadCompressed(r, kMaxItemData); });
        break;
    case 1:
        ReadContainerFile(WriteFuzzInput(data + 1, size - 1, ".iml"));
        break;
    case 2: {
        TWLXImageList images;
        TWLXBitmapList bitmaps;
        TWLXStringList strings;
        TWLXWaveList waves;
        for (TWLXCustomContainer* list : std::initializer_list<TWLXCustomContainer*>{&images, &bitmaps, &strings, &waves})
            Read(input, [list](TReader& r) {
                TWLXComponentReader reader(r);
                list->ReadComponent(reader);
            });
        break;
    }
    case 3:
        Read(input, [&](TReader&) { ReadBitmapFileImage(input); });
        break;
    case 4: {
        TWLXImageListItem image;
        TWLXBitmapListItem bitmap;
        TWLXStringListItem strings;
        TWLXWaveListItem wave;
        for (TWLXListItem* item : std::initializer_list<TWLXListItem*>{&image, &bitmap, &strings, &wave})
            Read(input, [item](TReader& r) { item->LoadData(r); });
        break;
    }
    case 5: {
        TWLXDynLIFOBuffer buffer;
        buffer.MaxCount = 4;
        Read(input, [&](TReader& r) { buffer.LoadFromStream(r); });
        break;
    }
    case 6:
        TextDecode(input);
        break;
    }
    boxes.Clear();
    return 0;
}
