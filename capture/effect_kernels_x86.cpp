// The effect loops in x86 vector instructions, in two versions: SSSE3
// (every x86-64 processor since about 2008; SSE2 for negative and emboss)
// and AVX2 (since about 2013-2015) for gray, black-and-white and emboss,
// where it measured clearly faster. The processor is asked once, through
// cpuid. Each loop hands what is left at the end of its span to the next
// smaller version.
//
// Luma. The vector versions reorder each pixel's bytes to B, G, R, G, multiply
// them by 114, 12, 13, 25 and add pairs: 114 B + 12 G and 13 R + 25 G, both
// below 2^15. Adding the pairs as s (114 B + 12 G) + 23 s (13 R + 25 G) gives
// s (114 B + 587 G + 299 R) exactly in 32 bits. Black-and-white compares that
// with 127 500 (s = 1). Gray takes s = 32 and adds 32 * 500: the numerator x
// times 32 stays below 2^23, so bytes 1 and 2 of the 32-bit lane are
// floor(x / 8), and Y = (floor(x / 8) * 33555) >> 22 as in Luma_Divide1000,
// in 16-bit lanes (high half of the product, then >> 6).
#include "capture/effect_kernels.h"

#if defined(__x86_64__) || defined(__i386__)
#include <array>
#include <cpuid.h>
#include <immintrin.h>

#define SSSE3 __attribute__((target("ssse3")))
#define AVX2 __attribute__((target("avx2")))

namespace {

constexpr int kLumaBytes = 25 << 24 | 13 << 16 | 12 << 8 | 114;
constexpr int kWhiteSum = LUMA_WHITE_NUMERATOR - 500; // Y > 127 exactly when the sum reaches it

template <int Scale>
constexpr int kLumaPairs = 23 * Scale << 16 | Scale;

template <size_t N>
using Bytes = std::array<int8_t, N>;
using Mask = Bytes<16>;

// A byte-shuffle mask for a register that holds bytes base...base+15 of a
// window: output byte i is window byte source(i) when that lies in the
// register, else zero (source -1: always zero).
template <typename Source>
constexpr Mask Gather(Source source, int base)
{
    Mask mask{};
    for (int i = 0; i < 16; i++) {
        int s = source(i);
        mask[i] = s >= base && s < base + 16 ? (int8_t)(s - base) : (int8_t)-128;
    }
    return mask;
}

// Output byte i is byte source(i) (a permute index).
template <size_t N, typename Source>
constexpr Bytes<N> Index(Source source)
{
    Bytes<N> index{};
    for (size_t i = 0; i < N; i++)
        index[i] = (int8_t)source((int)i);
    return index;
}

// Pixels 4k...4k+3, whose bytes start at byte offset, as B, G, R, G each.
constexpr auto Quad(int offset)
{
    return [offset](int i) { return offset + 3 * (i / 4) + (i % 4 == 3 ? 1 : i % 4); };
}

// Bytes 1 and 2 of four 32-bit lanes, as four 16-bit lanes in the low (Half 0)
// or high (Half 1) half.
template <int Half>
constexpr Mask kMiddleBytes = Gather([](int i) { return i / 8 != Half ? -1 : 4 * (i % 8 / 2) + 1 + i % 2; }, 0);

// Sixteen one-byte values spread to three bytes each (48 bytes, 3 registers).
template <int K>
constexpr Mask kSpread = Gather([](int i) { return (16 * K + i) / 3; }, 0);

// The input byte that byte o of a reversed block of the given pixels comes from.
constexpr int ReversedSource(int pixels, int o)
{
    return 3 * (pixels - 1 - o / 3) + o % 3;
}

// Output register K of a reversed 16-pixel block, from input register S.
template <int K, int S>
constexpr Mask kReverse = Gather([](int i) { return ReversedSource(16, 16 * K + i); }, 16 * S);

inline __m128i Load(const uint8_t *p)
{
    return _mm_loadu_si128((const __m128i *)p);
}

inline void Store(uint8_t *p, __m128i v)
{
    _mm_storeu_si128((__m128i *)p, v);
}

SSSE3 inline __m128i Shuffle(__m128i v, const Mask &mask)
{
    return _mm_shuffle_epi8(v, Load((const uint8_t *)mask.data()));
}

// ---- SSSE3 and SSE2

SSSE3 void Ssse3MirrorRow(const uint8_t *in, uint8_t *out, size_t pixels)
{
    size_t blocks = pixels / 16;
    const uint8_t *from = in + 3 * pixels;
    for (size_t k = 0; k < blocks; k++, out += 48) {
        from -= 48;
        __m128i s0 = Load(from), s1 = Load(from + 16), s2 = Load(from + 32);
        Store(out, _mm_or_si128(Shuffle(s1, kReverse<0, 1>), Shuffle(s2, kReverse<0, 2>)));
        Store(out + 16, _mm_or_si128(_mm_or_si128(Shuffle(s0, kReverse<1, 0>), Shuffle(s1, kReverse<1, 1>)),
                                     Shuffle(s2, kReverse<1, 2>)));
        Store(out + 32, _mm_or_si128(Shuffle(s0, kReverse<2, 0>), Shuffle(s1, kReverse<2, 1>)));
    }
    // The first pixels of the row, fewer than 16, end it reversed.
    gPlainKernels.mirrorRow(in, out, pixels - 16 * blocks);
}

// The luma sum times Scale of the 4 pixels whose 12 bytes start at in, as
// 32-bit lanes (reads 16 bytes).
template <int Scale>
SSSE3 inline __m128i LumaSum(const uint8_t *in)
{
    static constexpr Mask quads = Gather(Quad(0), 0);
    __m128i pairs = _mm_maddubs_epi16(Shuffle(Load(in), quads), _mm_set1_epi32(kLumaBytes));
    return _mm_madd_epi16(pairs, _mm_set1_epi32(kLumaPairs<Scale>));
}

// floor(x / 8) of the 8 pixels at in, as 16-bit lanes.
SSSE3 inline __m128i LumaEighths(const uint8_t *in)
{
    const __m128i bias = _mm_set1_epi32(32 * 500);
    __m128i low = _mm_add_epi32(LumaSum<32>(in), bias), high = _mm_add_epi32(LumaSum<32>(in + 12), bias);
    return _mm_or_si128(Shuffle(low, kMiddleBytes<0>), Shuffle(high, kMiddleBytes<1>));
}

SSSE3 inline __m128i LumaFromEighths(__m128i eighths)
{
    return _mm_srli_epi16(_mm_mulhi_epu16(eighths, _mm_set1_epi16((short)33555)), 6);
}

// The results of 16 pixels, one byte each.
SSSE3 inline __m128i GrayBytes(const uint8_t *in)
{
    return _mm_packus_epi16(LumaFromEighths(LumaEighths(in)), LumaFromEighths(LumaEighths(in + 24)));
}

SSSE3 inline __m128i White(const uint8_t *in)
{
    return _mm_cmpgt_epi32(LumaSum<1>(in), _mm_set1_epi32(kWhiteSum - 1));
}

SSSE3 inline __m128i BlackWhiteBytes(const uint8_t *in)
{
    return _mm_packs_epi16(_mm_packs_epi32(White(in), White(in + 12)), _mm_packs_epi32(White(in + 24), White(in + 36)));
}

// 16 pixels at a time, each result byte spread to three. A block reads 4 bytes
// past its end, so the last 2 pixels are left to the plain loop.
template <__m128i (*Result)(const uint8_t *)>
SSSE3 inline void Ssse3LumaLoop(const uint8_t *in, uint8_t *out, size_t pixels,
                                void (*plain)(const uint8_t *, uint8_t *, size_t))
{
    size_t done = 0;
    for (; done + 16 + 2 <= pixels; done += 16, in += 48, out += 48) {
        __m128i bytes = Result(in);
        Store(out, Shuffle(bytes, kSpread<0>));
        Store(out + 16, Shuffle(bytes, kSpread<1>));
        Store(out + 32, Shuffle(bytes, kSpread<2>));
    }
    plain(in, out, pixels - done);
}

SSSE3 void Ssse3Gray(const uint8_t *in, uint8_t *out, size_t pixels)
{
    Ssse3LumaLoop<GrayBytes>(in, out, pixels, gPlainKernels.gray);
}

SSSE3 void Ssse3BlackWhite(const uint8_t *in, uint8_t *out, size_t pixels)
{
    Ssse3LumaLoop<BlackWhiteBytes>(in, out, pixels, gPlainKernels.blackWhite);
}

void Sse2Negative(const uint8_t *in, uint8_t *out, size_t bytes)
{
    size_t i = 0;
    for (; i + 16 <= bytes; i += 16)
        Store(out + i, _mm_xor_si128(Load(in + i), _mm_set1_epi8(-1)));
    gPlainKernels.negative(in + i, out + i, bytes - i);
}

// One of a - b and b - a saturates to 0, so 128 + (a - b) and then - (b - a),
// each saturated, give the clamped a - b + 128.
void Sse2Emboss(const uint8_t *in, const uint8_t *below, uint8_t *out, size_t bytes)
{
    size_t i = 0;
    for (; i + 16 <= bytes; i += 16) {
        __m128i a = Load(in + i), b = Load(below + i);
        __m128i up = _mm_adds_epu8(_mm_set1_epi8(-128), _mm_subs_epu8(a, b));
        Store(out + i, _mm_subs_epu8(up, _mm_subs_epu8(b, a)));
    }
    gPlainKernels.emboss(in + i, below + i, out + i, bytes - i);
}

// 16 pixels (48 bytes, 3 registers) at a time, 4 pixels to each output
// register, the fourth byte of each zero.
SSSE3 void Ssse3ExpandRow(const uint8_t *in, uint32_t *out, size_t pixels)
{
    static constexpr Mask expand = Gather([](int i) { return i % 4 == 3 ? -1 : 3 * (i / 4) + i % 4; }, 0);
    size_t done = 0;
    for (; done + 16 <= pixels; done += 16, in += 48, out += 16) {
        __m128i a = Load(in), b = Load(in + 16), c = Load(in + 32);
        uint8_t *to = (uint8_t *)out;
        Store(to, Shuffle(a, expand));
        Store(to + 16, Shuffle(_mm_alignr_epi8(b, a, 12), expand));
        Store(to + 32, Shuffle(_mm_alignr_epi8(c, b, 8), expand));
        Store(to + 48, Shuffle(_mm_srli_si128(c, 4), expand));
    }
    gPlainKernels.expandRow(in, out, pixels - done);
}

// ---- AVX2: each 128-bit lane does what one SSSE3 register does.

AVX2 inline __m256i Load256(const void *p)
{
    return _mm256_loadu_si256((const __m256i *)p);
}

AVX2 inline void Store(uint8_t *p, __m256i v)
{
    _mm256_storeu_si256((__m256i *)p, v);
}

constexpr Bytes<32> Lanes(const Mask &low, const Mask &high)
{
    Bytes<32> mask{};
    for (int i = 0; i < 16; i++) {
        mask[i] = low[i];
        mask[16 + i] = high[i];
    }
    return mask;
}

AVX2 inline __m256i Shuffle(__m256i v, const Bytes<32> &mask)
{
    return _mm256_shuffle_epi8(v, Load256(mask.data()));
}

// A 32-byte load at in - 4 holds pixels 0...3 at byte 4 of its low lane and
// pixels 4...7 at byte 0 of its high lane: the luma sum times Scale of these 8
// pixels.
template <int Scale>
AVX2 inline __m256i WideLumaSum(const uint8_t *in)
{
    static constexpr Bytes<32> quads = Lanes(Gather(Quad(4), 0), Gather(Quad(0), 0));
    __m256i pairs = _mm256_maddubs_epi16(Shuffle(Load256(in - 4), quads), _mm256_set1_epi32(kLumaBytes));
    return _mm256_madd_epi16(pairs, _mm256_set1_epi32(kLumaPairs<Scale>));
}

// floor(x / 8) of the 16 pixels at in, as 16-bit lanes: the low lane holds
// pixels 0-3 and 8-11, the high lane 4-7 and 12-15.
AVX2 inline __m256i WideLumaEighths(const uint8_t *in)
{
    static constexpr Bytes<32> low = Lanes(kMiddleBytes<0>, kMiddleBytes<0>),
                               high = Lanes(kMiddleBytes<1>, kMiddleBytes<1>);
    const __m256i bias = _mm256_set1_epi32(32 * 500);
    return _mm256_or_si256(Shuffle(_mm256_add_epi32(WideLumaSum<32>(in), bias), low),
                           Shuffle(_mm256_add_epi32(WideLumaSum<32>(in + 24), bias), high));
}

AVX2 inline __m256i WideLumaFromEighths(__m256i eighths)
{
    return _mm256_srli_epi16(_mm256_mulhi_epu16(eighths, _mm256_set1_epi16((short)33555)), 6);
}

// The results of 32 pixels, one byte each, in 4-pixel groups: the low lane
// holds pixels 0-3, 8-11, 16-19, 24-27, the high lane 4-7, 12-15, 20-23, 28-31.
AVX2 inline __m256i WideGrayBytes(const uint8_t *in)
{
    return _mm256_packus_epi16(WideLumaFromEighths(WideLumaEighths(in)),
                               WideLumaFromEighths(WideLumaEighths(in + 48)));
}

AVX2 inline __m256i WideWhite(const uint8_t *in)
{
    return _mm256_cmpgt_epi32(WideLumaSum<1>(in), _mm256_set1_epi32(kWhiteSum - 1));
}

AVX2 inline __m256i WideBlackWhiteBytes(const uint8_t *in)
{
    return _mm256_packs_epi16(_mm256_packs_epi32(WideWhite(in), WideWhite(in + 24)),
                              _mm256_packs_epi32(WideWhite(in + 48), WideWhite(in + 72)));
}

// Output register K (bytes 32K...32K+31 of the block) takes the 4-pixel groups
// its two lanes need with a cross-lane move, then spreads them with a byte
// shuffle.
struct WideSpread {
    int32_t groups[8];
    Bytes<32> bytes;
};

constexpr WideSpread MakeWideSpread(int k)
{
    WideSpread spread{};
    for (int lane = 0; lane < 2; lane++) {
        int firstByte = 32 * k + 16 * lane, firstGroup = firstByte / 3 / 4;
        for (int slot = 0; slot < 4; slot++) {
            int group = firstGroup + slot < 8 ? firstGroup + slot : 7;
            spread.groups[4 * lane + slot] = group % 2 ? 4 + group / 2 : group / 2;
        }
        for (int i = 0; i < 16; i++) {
            int pixel = (firstByte + i) / 3;
            spread.bytes[16 * lane + i] = (int8_t)(4 * (pixel / 4 - firstGroup) + pixel % 4);
        }
    }
    return spread;
}

template <int K>
constexpr WideSpread kWideSpread = MakeWideSpread(K);

template <int K>
AVX2 inline void WideStoreSpread(uint8_t *out, __m256i bytes)
{
    __m256i groups = _mm256_permutevar8x32_epi32(bytes, Load256(kWideSpread<K>.groups));
    Store(out + 32 * K, Shuffle(groups, kWideSpread<K>.bytes));
}

// 32 pixels at a time, from pixel 2 on (the first load of a block reads 4
// bytes before it); a block also reads 4 bytes past its end.
template <__m256i (*Result)(const uint8_t *)>
AVX2 inline void Avx2LumaLoop(const uint8_t *in, uint8_t *out, size_t pixels,
                              void (*smaller)(const uint8_t *, uint8_t *, size_t))
{
    size_t done = pixels < 2 ? pixels : 2;
    smaller(in, out, done);
    for (in += 3 * done, out += 3 * done; done + 32 + 2 <= pixels; done += 32, in += 96, out += 96) {
        __m256i bytes = Result(in);
        WideStoreSpread<0>(out, bytes);
        WideStoreSpread<1>(out, bytes);
        WideStoreSpread<2>(out, bytes);
    }
    smaller(in, out, pixels - done);
}

AVX2 void Avx2Gray(const uint8_t *in, uint8_t *out, size_t pixels)
{
    Avx2LumaLoop<WideGrayBytes>(in, out, pixels, Ssse3Gray);
}

AVX2 void Avx2BlackWhite(const uint8_t *in, uint8_t *out, size_t pixels)
{
    Avx2LumaLoop<WideBlackWhiteBytes>(in, out, pixels, Ssse3BlackWhite);
}

AVX2 void Avx2Emboss(const uint8_t *in, const uint8_t *below, uint8_t *out, size_t bytes)
{
    size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        __m256i a = Load256(in + i), b = Load256(below + i);
        __m256i up = _mm256_adds_epu8(_mm256_set1_epi8(-128), _mm256_subs_epu8(a, b));
        Store(out + i, _mm256_subs_epu8(up, _mm256_subs_epu8(b, a)));
    }
    Sse2Emboss(in + i, below + i, out + i, bytes - i);
}

const EffectKernels kSsse3Kernels = {"ssse3", Ssse3MirrorRow, Ssse3Gray, Ssse3BlackWhite, Sse2Negative,
                                     Sse2Emboss, Ssse3ExpandRow};
// Mirror, negative and the expansion are as fast in SSSE3/SSE2 as in AVX2
// (they move bytes at memory speed), so only the arithmetic loops have AVX2
// versions.
const EffectKernels kAvx2Kernels = {"avx2", Ssse3MirrorRow, Avx2Gray, Avx2BlackWhite, Sse2Negative, Avx2Emboss,
                                    Ssse3ExpandRow};

struct Cpuid {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
};

Cpuid Cpuid_Leaf(unsigned leaf)
{
    Cpuid r;
    if (!__get_cpuid_count(leaf, 0, &r.eax, &r.ebx, &r.ecx, &r.edx))
        r = {};
    return r;
}

// Which register states the system saves on a thread switch (XCR0); 0 when
// it does not say (no OSXSAVE).
uint64_t SavedRegisterStates()
{
    if (!(Cpuid_Leaf(1).ecx & bit_OSXSAVE))
        return 0;
    uint32_t low, high;
    __asm__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (uint64_t)high << 32 | low;
}

} // namespace

std::vector<const EffectKernels *> EffectKernels_Vectors()
{
    Cpuid basic = Cpuid_Leaf(1), extended = Cpuid_Leaf(7);
    uint64_t saved = SavedRegisterStates();
    bool ymm = (saved & 0x06) == 0x06; // the system saves SSE and AVX registers
    bool avx2 = ymm && (basic.ecx & bit_AVX) && (extended.ebx & bit_AVX2);
    std::vector<const EffectKernels *> versions;
    if (avx2)
        versions.push_back(&kAvx2Kernels);
    if (basic.ecx & bit_SSSE3)
        versions.push_back(&kSsse3Kernels);
    return versions;
}

#else

std::vector<const EffectKernels *> EffectKernels_Vectors()
{
    return {};
}

#endif
