#include "report/product_rows.h"

#include "model/number_text.h"
#include "report/ordered_blocks.h"

#include <algorithm>
#include <cstring>

namespace orvane {

namespace {

// About a megabyte and a half of HTML: large enough that handing blocks between the threads
// costs nothing, small enough that a cancel is seen at once.
constexpr std::size_t productsPerBlock = 1 << 15;

template <std::size_t Size> char* writePiece(char* out, const char (&piece)[Size])
{
    std::memcpy(out, piece, Size - 1);
    return out + Size - 1;
}

// The frequency's text, made again only when it changes: sorted products often share one.
class FrequencyText {
public:
    char* write(char* out, double frequencyMhz)
    {
        // Compared bit for bit, so that -0 is not taken for 0.
        if (length_ == 0 || std::memcmp(&frequencyMhz, &frequencyMhz_, sizeof frequencyMhz) != 0) {
            frequencyMhz_ = frequencyMhz;
            length_ = static_cast<std::size_t>(writeFixed(text_, frequencyMhz, 7, 5) - text_);
        }
        // Copied in one fixed-size move when short, as it nearly always is.
        if (length_ <= shortText)
            std::memcpy(out, text_, shortText);
        else
            std::memcpy(out, text_, length_);
        return out + length_;
    }

    static constexpr std::size_t shortText = 16;

private:
    double frequencyMhz_ = 0.0;
    std::size_t length_ = 0;
    char text_[fixedTextRoom(7, 5)];
};

// A row of the product table with its new row, two cells and their paragraphs.
char* writeHtmlRow(char* out, const CompactIntermodProduct& product,
                   const IntermodLabelWriter& labels, FrequencyText& frequency)
{
    out = writePiece(out, "\r\n<TR>\r\n\r\n\t<TD><P>");
    out = labels.write(out, product);
    out = writePiece(out, "\r\n\t<TD><P>");
    return frequency.write(out, product.frequencyMhz);
}

char* writeCsvLine(char* out, const CompactIntermodProduct& product,
                   const IntermodLabelWriter& labels, FrequencyText& frequency)
{
    out = writePiece(out, "\"");
    out = labels.write(out, product);
    out = writePiece(out, "\",");
    out = frequency.write(out, product.frequencyMhz);
    return writePiece(out, "\r\n");
}

using RowWriter = char* (*)(char*, const CompactIntermodProduct&, const IntermodLabelWriter&,
                            FrequencyText&);

template <RowWriter writeRow>
char* writeRows(char* out, const CompactIntermodProduct* first, const CompactIntermodProduct* last,
                const IntermodLabelWriter& labels)
{
    FrequencyText frequency;
    for (; first != last; ++first)
        out = writeRow(out, *first, labels, frequency);
    return out;
}

// The fixed pieces of either layout, the label and the number.
constexpr std::size_t mostRowBytes =
    32 + IntermodLabelWriter::room + fixedTextRoom(7, 5) + FrequencyText::shortText;

} // namespace

bool writeProductRows(HtmlWriter& writer, ReportLayout layout, int carrierCount,
                      const CompactIntermodProducts& products, WorkProgress* progress)
{
    const IntermodLabelWriter labels(carrierCount);
    const std::size_t blockCount = (products.size() + productsPerBlock - 1) / productsPerBlock;
    std::size_t delivered = 0;
    return deliverBlocksInOrder(
        blockCount, productsPerBlock * mostRowBytes,
        [&products, &labels, layout](std::size_t block, char* out) {
            const CompactIntermodProduct* const first = products.data() + block * productsPerBlock;
            const CompactIntermodProduct* const last =
                products.data() + std::min(products.size(), (block + 1) * productsPerBlock);
            return layout == ReportLayout::html ? writeRows<writeHtmlRow>(out, first, last, labels)
                                                : writeRows<writeCsvLine>(out, first, last, labels);
        },
        [&](std::string_view text) {
            if (progress != nullptr) {
                if (progress->cancelRequested())
                    return false;
                progress->setPartDone(static_cast<double>(++delivered) /
                                      static_cast<double>(blockCount));
            }
            return writer.writeStored(text);
        });
}

} // namespace orvane
