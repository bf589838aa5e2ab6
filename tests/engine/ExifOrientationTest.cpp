#include "engine/picture/ExifOrientation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "JpegCorpus.h"
#include "engine/picture/JpegDecoder.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& out, uint32_t value, int size, bool bigEndian)
{
    for (int i = 0; i < size; ++i)
        out.push_back(static_cast<uint8_t>(value >> 8 * (bigEndian ? size - 1 - i : i)));
}

// A TIFF structure whose IFD0 holds a Make entry, then the orientation.
struct Tiff {
    bool bigEndian = true;
    const char* byteOrder = nullptr;  // default: "MM" or "II" to match bigEndian
    uint32_t magic = 42, ifdOffset = 8, entryCount = 2, type = 3 /* SHORT */, count = 1, value = 6;

    Bytes Build() const
    {
        const char* order = byteOrder != nullptr ? byteOrder : bigEndian ? "MM" : "II";
        Bytes out(order, order + 2);
        const auto put = [&](uint32_t v, int size) { Put(out, v, size, bigEndian); };
        put(magic, 2), put(ifdOffset, 4), put(entryCount, 2);
        put(0x010F, 2), put(2, 2), put(4, 4), put('C' << 24 | 'a' << 16 | 'm' << 8, 4);  // Make: ASCII, inline
        put(0x0112, 2), put(type, 2), put(count, 4), put(value, 2), put(0, 2);
        put(0, 4);  // no next IFD
        return out;
    }
};

// A segment whose length field says `length` (by default the true one).
Bytes Segment(uint8_t marker, Bytes payload, int length = -1)
{
    Bytes out{0xFF, marker};
    out.reserve(4 + payload.size());
    Put(out, length >= 0 ? length : static_cast<uint32_t>(payload.size() + 2), 2, true);
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

Bytes Exif(const Tiff& tiff)
{
    return Segment(0xE1, Join({{'E', 'x', 'i', 'f', 0, 0}, tiff.Build()}));
}

const Bytes kSoi{0xFF, 0xD8};
const Bytes kJfif = Segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
const Bytes kXmp = Segment(0xE1, {'h', 't', 't', 'p', ':', '/', '/', 'n', 's', 0});
const Bytes kSos = Segment(0xDA, {1, 1, 0, 0, 63, 0});

int Read(const Bytes& file)
{
    return ReadExifOrientation(file.data(), file.size());
}

Image Decode(const Bytes& file)
{
    DecodeResult result = DecodeJpeg(file.data(), file.size(), 0, 0);
    EXPECT_TRUE(result.ok) << result.error;
    return std::move(result.image);
}

// A picture of distinct pixels given by letters, row by row; the three
// colour values of a pixel differ, so a swapped channel shows too.
Image Letters(int width, int height, const std::string& rows)
{
    Image image{width, height, {}};
    for (char letter : rows)
        image.rgb.insert(image.rgb.end(), {uint8_t(letter), uint8_t(letter - 'a' + 'A'), uint8_t(letter - 'a' + '0')});
    return image;
}

}  // namespace

TEST(ExifOrientation, AnythingOffGivesUpright)
{
    const auto with = [](auto change) {
        Tiff tiff;
        change(tiff);
        return Join({kSoi, Exif(tiff), kSos});
    };
    // The APP1 length (2 + "Exif\0\0" + TIFF header, count, Make entry) ends
    // between the two bytes of the orientation value; the rest follows in the file.
    Bytes cutShort = Join({kSoi, Exif(Tiff())});
    cutShort[5] = 2 + 6 + 8 + 2 + 12 + 9;
    const struct {
        const char* what;
        Bytes file;
        int expected;
    } cases[] = {
        {"found after APP0 and an XMP APP1", Join({kSoi, kJfif, kXmp, Exif(Tiff()), kSos}), 6},
        {"found little-endian", with([](Tiff& t) { t.bigEndian = false, t.value = 8; }), 8},
        {"found after fill bytes", Join({kSoi, {0xFF, 0xFF}, Exif(Tiff()), kSos}), 6},
        {"value 0", with([](Tiff& t) { t.value = 0; }), 1},
        {"value 9", with([](Tiff& t) { t.value = 9; }), 1},
        {"type LONG", with([](Tiff& t) { t.type = 4; }), 1},
        {"count 2", with([](Tiff& t) { t.count = 2; }), 1},
        {"entry count leaves the tag out", with([](Tiff& t) { t.entryCount = 1; }), 1},
        {"entry count past the segment", with([](Tiff& t) { t.entryCount = 0xFFFF; }), 1},
        {"IFD0 offset past the segment", with([](Tiff& t) { t.ifdOffset = 0xFFFFFFFF; }), 1},
        {"IFD0 offset inside the header", with([](Tiff& t) { t.ifdOffset = 4; }), 1},
        {"byte order IM", with([](Tiff& t) { t.byteOrder = "IM"; }), 1},
        {"TIFF magic 43", with([](Tiff& t) { t.magic = 43; }), 1},
        {"APP1 length cuts the entry", cutShort, 1},
        {"APP1 length past the file", Join({kSoi, Segment(0xE1, {'E', 'x', 'i', 'f', 0, 0}, 0xFFFF)}), 1},
        {"EXIF after the first scan", Join({kSoi, kSos, Exif(Tiff())}), 1},
        {"no SOI", Join({kJfif, Exif(Tiff()), kSos}), 1},
        {"SOI only", kSoi, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Read(c.file), c.expected) << c.what;
}

// Every JPEG-named file of the corpus, hostile ones included (an IFD loop,
// counts of 0xFFFFFFFF, a file cut inside APP1), against MANIFEST.tsv.
TEST(ExifOrientation, CorpusFilesGiveTheOrientationTheyAreTagged)
{
    int tagged = 0;
    for (const corpus::Row& row : corpus::Manifest()) {
        if (corpus::HasJpegName(row.file)) {
            EXPECT_EQ(Read(corpus::Bytes(row.file)), row.orientation > 0 ? row.orientation : 1) << row.file;
            tagged += row.orientation > 1;
        }
    }
    EXPECT_EQ(tagged, 10);
}

// The stored picture a b c / d e f shown the way each EXIF value means.
TEST(ExifOrientation, TurnsEachOfTheEightStoredFormsUpright)
{
    const struct {
        int orientation, width, height;
        const char* rows;
    } cases[] = {
        {1, 3, 2, "abc" "def"}, {2, 3, 2, "cba" "fed"}, {3, 3, 2, "fed" "cba"}, {4, 3, 2, "def" "abc"},
        {5, 2, 3, "ad" "be" "cf"}, {6, 2, 3, "da" "eb" "fc"}, {7, 2, 3, "fc" "eb" "da"}, {8, 2, 3, "cf" "be" "ad"},
        {0, 3, 2, "abc" "def"}, {9, 3, 2, "abc" "def"},  // not valid values: left as stored
    };
    for (const auto& c : cases) {
        const Image upright = ApplyOrientation(Letters(3, 2, "abcdef"), c.orientation);
        const Image expected = Letters(c.width, c.height, c.rows);
        EXPECT_TRUE(upright.width == expected.width && upright.height == expected.height &&
                    upright.rgb == expected.rgb) << c.orientation;
    }
}

// gen_orient_N is the coffee photo stored in the form of orientation N: the
// tagged value, and only it, turns each file into gen_orient_1.jpg.
TEST(ExifOrientation, CorpusPhotosComeOutUprightWithTheirTagAndOnlyWithIt)
{
    const double jpegTolerance = 4.0;  // each file went through its own q85 encoding
    const Image upright = Decode(corpus::Bytes("jpeg/gen_orient_1.jpg"));
    for (const char* name : {"1", "2", "3", "4", "5", "6", "7", "8", "6_intel_II", "8_exif_only"}) {
        const Bytes file = corpus::Bytes(std::string("jpeg/gen_orient_") + name + ".jpg");
        const Image stored = Decode(file);
        for (int orientation = 1; orientation <= 8; ++orientation) {
            const double difference = corpus::MeanDifference(ApplyOrientation(stored, orientation), upright);
            EXPECT_EQ(difference < jpegTolerance, orientation == Read(file))
                << name << " turned as " << orientation << ": mean difference " << difference;
        }
    }
}
