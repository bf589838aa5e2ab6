#include "Sector.h"

#include <array>
#include <cassert>
#include <cstring>

#include "engine/base/ByteOrder.h"

// Sector coding as a row of small steps over the 2352-byte buffer. The
// tables (EDC slices, P and Q parity per symbol position) are constants
// built by the compiler, so no sector pays for them.

namespace {

constexpr size_t kHeaderOffset = kSyncSize;                          // 12
constexpr size_t kSubheaderOffset = kHeaderOffset + kHeaderSize;     // 16
constexpr size_t kUserDataOffset = kSubheaderOffset + kSubheaderSize;  // 24
constexpr size_t kForm1EdcOffset = kUserDataOffset + kForm1DataSize;  // 2072
constexpr size_t kParityPOffset = kForm1EdcOffset + kEdcSize;        // 2076
constexpr size_t kParityQOffset = kParityPOffset + kParityPSize;     // 2248
constexpr size_t kForm2EdcOffset = kUserDataOffset + kForm2DataSize;  // 2348
static_assert(kParityQOffset + kParityQSize == kRawSectorSize, "Q parity ends the Form 1 sector");
static_assert(kForm2EdcOffset + kEdcSize == kRawSectorSize, "the EDC ends the Form 2 sector");

constexpr uint8_t kSync[kSyncSize] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
constexpr uint8_t kMode2 = 2;

constexpr uint32_t kFramesPerSecond = 75;
constexpr uint32_t kSecondsPerMinute = 60;
constexpr uint32_t kFramesPerMinute = kFramesPerSecond * kSecondsPerMinute;
[[maybe_unused]] constexpr uint32_t kBcdMinuteLimit = 100;  // two BCD digits; read by asserts only

// ---- EDC ----------------------------------------------------------------

// x^32 + x^31 + x^16 + x^15 + x^4 + x^3 + x + 1 (0x8001801B), bit-reversed:
// the CRC is fed least significant bit first.
constexpr uint32_t kEdcPolynomialReflected = 0xD8018001;
constexpr size_t kEdcSlices = 16;

// Slice k maps a byte to the CRC of that byte followed by k zero bytes,
// so 16 bytes advance the CRC with 16 independent lookups (16 KB of
// tables, which stay in the first-level cache; eight slices ran at half
// the speed).
using EdcTables = std::array<std::array<uint32_t, 256>, kEdcSlices>;

constexpr EdcTables MakeEdcTables()
{
    EdcTables t{};
    for (uint32_t byte = 0; byte < 256; ++byte) {
        uint32_t crc = byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ ((crc & 1) ? kEdcPolynomialReflected : 0);
        t[0][byte] = crc;
    }
    for (size_t k = 1; k < kEdcSlices; ++k)
        for (size_t byte = 0; byte < 256; ++byte)
            t[k][byte] = (t[k - 1][byte] >> 8) ^ t[0][t[k - 1][byte] & 0xFF];
    return t;
}

constexpr EdcTables kEdcTables = MakeEdcTables();
static_assert(kEdcTables[0][1] == 0x90910101, "EDC of the single byte 01");

// ---- P and Q parity -----------------------------------------------------
//
// Bytes 12..2351 are 1170 words of two bytes; the even bytes and the odd
// bytes form two planes, each coded alone with the same Reed-Solomon code
// over GF(2^8). A plane's symbols 0..1031 (bytes 12..2075) are 24 rows of
// 43 columns:
//
//   P: column c, rows 0..23, parity in words 1032+c and 1075+c (26 symbols)
//   Q: diagonal d, symbols (44m + 43d) mod 1118 for m = 0..42 (data and P),
//      parity in words 1118+d and 1144+d (45 symbols)
//
// A codeword V0..V(N-1) whose last two symbols are parity satisfies
// sum V_i = 0 and sum alpha^(N-1-i) V_i = 0. With S0 and S1 those sums over
// the data symbols, the parity is p = (S0 + S1) / (alpha + 1), q = S0 + p.
// Both are linear in each data symbol, so a table per position gives a
// symbol's share of p and q at once, and a codeword is an xor of lookups.

constexpr unsigned kGfPolynomial = 0x11D;  // x^8 + x^4 + x^3 + x^2 + 1
constexpr uint8_t kAlpha = 0x02;

constexpr size_t kPlanes = 2;
constexpr size_t kParitySymbols = 2;
constexpr size_t kPColumns = kParityPSize / (kPlanes * kParitySymbols);                // 43
constexpr size_t kPDataRows = (kParityPOffset - kHeaderOffset) / kPlanes / kPColumns;  // 24
constexpr size_t kQDiagonals = kParityQSize / (kPlanes * kParitySymbols);              // 26
constexpr size_t kQDataSymbols = kPColumns;                                             // 43
constexpr size_t kQCoveredWords = (kPDataRows + kParitySymbols) * kPColumns;            // 1118
constexpr size_t kQStep = kPColumns + 1;  // next row, next column
static_assert(kPDataRows * kPColumns * kPlanes == kParityPOffset - kHeaderOffset, "P rows cover 12..2075");
static_assert(kQCoveredWords * kPlanes == kParityQOffset - kHeaderOffset, "Q diagonals cover 12..2247");
static_assert(kQDiagonals == kPDataRows + kParitySymbols, "one Q diagonal starts on each P row");

constexpr uint8_t GfMultiply(uint8_t a, uint8_t b)
{
    unsigned product = 0;
    unsigned x = a;
    for (; b != 0; b >>= 1) {
        if (b & 1)
            product ^= x;
        x <<= 1;
        if (x & 0x100)
            x ^= kGfPolynomial;
    }
    return static_cast<uint8_t>(product);
}

constexpr uint8_t GfInverse(uint8_t a)
{
    for (unsigned candidate = 1; candidate < 256; ++candidate)
        if (GfMultiply(a, static_cast<uint8_t>(candidate)) == 1)
            return static_cast<uint8_t>(candidate);
    return 0;
}

// Entry [i][v]: the share of data symbol i with value v in p (high byte)
// and q (low byte) of a codeword with kDataSymbols + 2 symbols.
template <size_t kDataSymbols>
using ParityTable = std::array<std::array<uint16_t, 256>, kDataSymbols>;

template <size_t kDataSymbols>
constexpr ParityTable<kDataSymbols> MakeParityTable()
{
    ParityTable<kDataSymbols> t{};
    const uint8_t divisor = GfInverse(kAlpha ^ 1);
    uint8_t weight = GfMultiply(kAlpha, kAlpha);  // alpha^(N-1-i) for the last data symbol, i = N-3
    for (size_t i = kDataSymbols; i-- > 0;) {
        const uint8_t pFactor = GfMultiply(weight ^ 1, divisor);
        for (unsigned v = 0; v < 256; ++v) {
            const uint8_t p = GfMultiply(static_cast<uint8_t>(v), pFactor);
            const uint8_t q = static_cast<uint8_t>(v ^ p);
            t[i][v] = static_cast<uint16_t>(p << 8 | q);
        }
        weight = GfMultiply(weight, kAlpha);
    }
    return t;
}

constexpr ParityTable<kPDataRows> kPTable = MakeParityTable<kPDataRows>();
constexpr ParityTable<kQDataSymbols> kQTable = MakeParityTable<kQDataSymbols>();

// ---- Steps ----------------------------------------------------------------

void WriteSync(uint8_t* sector)
{
    std::memcpy(sector, kSync, kSyncSize);
}

void WriteHeader(uint8_t* sector, uint32_t lsn)
{
    const uint32_t lba = lsn + kLsnToLba;
    assert(lba < kBcdMinuteLimit * kFramesPerMinute);
    uint8_t* header = sector + kHeaderOffset;
    header[0] = ToBcd(lba / kFramesPerMinute);
    header[1] = ToBcd(lba / kFramesPerSecond % kSecondsPerMinute);
    header[2] = ToBcd(lba % kFramesPerSecond);
    header[3] = kMode2;
}

// Mode 2 parity leaves the address and mode out: they count as zero.
void ClearHeader(uint8_t* sector)
{
    std::memset(sector + kHeaderOffset, 0, kHeaderSize);
}

void WriteSubheader(uint8_t* sector, Subheader subheader)
{
    uint8_t* field = sector + kSubheaderOffset;
    for (size_t copy = 0; copy < 2; ++copy, field += kSubheaderSize / 2) {
        field[0] = subheader.file;
        field[1] = subheader.channel;
        field[2] = subheader.submode;
        field[3] = subheader.coding;
    }
}

// data may already sit at its place in the sector.
void WriteUserData(uint8_t* sector, const uint8_t* data, size_t size)
{
    std::memmove(sector + kUserDataOffset, data, size);
}

// The EDC covers the subheader and the user data and follows them.
void WriteEdc(uint8_t* sector, size_t edcOffset)
{
    PutLe32(sector + edcOffset, ComputeEdc(sector + kSubheaderOffset, edcOffset - kSubheaderOffset));
}

// Puts codeword i's parity symbols, p in word i and q in word codewords + i
// of the parity area, from each plane's packed p/q share.
void StoreParity(uint8_t* parity, size_t i, size_t codewords, uint16_t even, uint16_t odd)
{
    uint8_t* p = parity + kPlanes * i;
    uint8_t* q = parity + kPlanes * (codewords + i);
    p[0] = static_cast<uint8_t>(even >> 8);
    p[1] = static_cast<uint8_t>(odd >> 8);
    q[0] = static_cast<uint8_t>(even);
    q[1] = static_cast<uint8_t>(odd);
}

// Both planes at once: a word's two bytes are symbols at the same position.
void WriteParityP(uint8_t* sector)
{
    const uint8_t* words = sector + kHeaderOffset;
    for (size_t column = 0; column < kPColumns; ++column) {
        uint16_t even = 0, odd = 0;
        const uint8_t* word = words + kPlanes * column;
        for (size_t row = 0; row < kPDataRows; ++row, word += kPlanes * kPColumns) {
            even ^= kPTable[row][word[0]];
            odd ^= kPTable[row][word[1]];
        }
        StoreParity(sector + kParityPOffset, column, kPColumns, even, odd);
    }
}

// Covers the P parity: call after WriteParityP.
void WriteParityQ(uint8_t* sector)
{
    const uint8_t* words = sector + kHeaderOffset;
    for (size_t diagonal = 0; diagonal < kQDiagonals; ++diagonal) {
        uint16_t even = 0, odd = 0;
        size_t n = kPColumns * diagonal;
        for (size_t m = 0; m < kQDataSymbols; ++m) {
            even ^= kQTable[m][words[kPlanes * n]];
            odd ^= kQTable[m][words[kPlanes * n + 1]];
            n += kQStep;
            if (n >= kQCoveredWords)
                n -= kQCoveredWords;
        }
        StoreParity(sector + kParityQOffset, diagonal, kQDiagonals, even, odd);
    }
}

}  // namespace

uint32_t ComputeEdc(const uint8_t* data, size_t count)
{
    const EdcTables& t = kEdcTables;
    uint32_t crc = 0;
    for (; count >= kEdcSlices; count -= kEdcSlices, data += kEdcSlices) {
        // The running CRC folds into the first four bytes of the block.
        crc ^= GetLe32(data);
        uint32_t next = t[kEdcSlices - 1][crc & 0xFF] ^ t[kEdcSlices - 2][crc >> 8 & 0xFF] ^
                        t[kEdcSlices - 3][crc >> 16 & 0xFF] ^ t[kEdcSlices - 4][crc >> 24];
        for (size_t j = 4; j < kEdcSlices; ++j)
            next ^= t[kEdcSlices - 1 - j][data[j]];
        crc = next;
    }
    for (; count > 0; --count, ++data)
        crc = (crc >> 8) ^ t[0][(crc ^ *data) & 0xFF];
    return crc;
}

void MakeForm1Sector(uint8_t* out, uint32_t lsn, Subheader subheader, const uint8_t* data)
{
    WriteUserData(out, data, kForm1DataSize);
    WriteSync(out);
    ClearHeader(out);
    WriteSubheader(out, subheader);
    WriteEdc(out, kForm1EdcOffset);
    WriteParityP(out);
    WriteParityQ(out);
    WriteHeader(out, lsn);
}

void MakeForm2Sector(uint8_t* out, uint32_t lsn, Subheader subheader, const uint8_t* data)
{
    WriteUserData(out, data, kForm2DataSize);
    WriteSync(out);
    WriteHeader(out, lsn);
    WriteSubheader(out, subheader);
    WriteEdc(out, kForm2EdcOffset);
}
