// Writes a dBASE IV SHAMSI table of made-up schedule records, for the demo
// and the benchmark: the eight fields the run works on among a few others of
// several types, with realistic task dates, some of them empty (as blanks and
// as 00000000), and optionally some outside the years 1980 to 2023. The same
// options always give the same bytes.
//
// Usage: make-table OUT.dbf [--records N] [--out-of-range N] [--seed N]
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace
{

struct FieldSpec {
    const char* name;
    char type;
    std::uint8_t length;
    std::uint8_t decimals;
};

// Extra fields sit between and after the ones the run uses, as an export
// from a scheduling program would have them.
constexpr std::array<FieldSpec, 13> kFields{{
    {"ID", 'N', 7, 0},
    {"NAME", 'C', 30, 0},
    {"ES", 'D', 8, 0},
    {"EF", 'D', 8, 0},
    {"SHES", 'C', 10, 0},
    {"SHEF", 'C', 10, 0},
    {"DUR", 'N', 5, 0},
    {"ES_T1", 'D', 8, 0},
    {"EF_T1", 'D', 8, 0},
    {"SHTS", 'C', 10, 0},
    {"SHTF", 'C', 10, 0},
    {"COST", 'N', 12, 2},
    {"DONE", 'L', 1, 0},
}};

constexpr std::size_t recordLength()
{
    std::size_t n = 1; // deletion flag
    for (const auto& f : kFields)
        n += f.length;
    return n;
}
constexpr std::size_t kRecordLength = recordLength();
constexpr std::size_t kHeaderLength = 32 + 32 * kFields.size() + 1;

// splitmix64: small, fast, and the same sequence on every platform.
class Random
{
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform enough in [0, n) for test data.
    long below(long n) { return static_cast<long>(next() % static_cast<std::uint64_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }

private:
    std::uint64_t m_state;
};

// Days since 1970-01-01 to and from a civil date (proleptic Gregorian).
long daysFromCivil(long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

void writeDate(char* out, long days)
{
    days += 719468;
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const long y = static_cast<long>(yoe) + era * 400 + (m <= 2);
    const unsigned digits[8] = {static_cast<unsigned>(y / 1000 % 10),
                                static_cast<unsigned>(y / 100 % 10),
                                static_cast<unsigned>(y / 10 % 10),
                                static_cast<unsigned>(y % 10),
                                m / 10,
                                m % 10,
                                d / 10,
                                d % 10};
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<char>('0' + digits[i]);
}

// A number right-aligned in its width, as dBASE stores N fields.
void writeNumber(char* out, std::size_t width, long value, int decimals)
{
    char text[32];
    int n = 0;
    if (decimals == 0)
        n = std::snprintf(text, sizeof text, "%ld", value);
    else
        n = std::snprintf(text, sizeof text, "%ld.%02ld", value / 100, value % 100);
    const std::size_t len = std::min<std::size_t>(static_cast<std::size_t>(n), width);
    std::memset(out, ' ', width - len);
    std::memcpy(out + width - len, text, len);
}

void writeText(char* out, std::size_t width, std::string_view text)
{
    const std::size_t len = std::min(width, text.size());
    std::memcpy(out, text.data(), len);
    std::memset(out + len, ' ', width - len);
}

std::vector<char> header(std::uint32_t records)
{
    std::vector<char> h(kHeaderLength, '\0');
    auto* b = reinterpret_cast<unsigned char*>(h.data());
    b[0] = 0x03;                    // dBASE III / IV, no memo file
    b[1] = 124, b[2] = 1, b[3] = 1; // last update: a fixed day, so output is reproducible
    for (int i = 0; i < 4; ++i)
        b[4 + i] = static_cast<unsigned char>(records >> (8 * i));
    b[8] = static_cast<unsigned char>(kHeaderLength & 0xFF);
    b[9] = static_cast<unsigned char>(kHeaderLength >> 8);
    b[10] = static_cast<unsigned char>(kRecordLength & 0xFF);
    b[11] = static_cast<unsigned char>(kRecordLength >> 8);
    b[29] = 0x57; // language driver: Windows ANSI
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        unsigned char* d = b + 32 + 32 * i;
        std::memcpy(d, kFields[i].name, std::strlen(kFields[i].name));
        d[11] = static_cast<unsigned char>(kFields[i].type);
        d[16] = kFields[i].length;
        d[17] = kFields[i].decimals;
    }
    b[kHeaderLength - 1] = 0x0D;
    return h;
}

constexpr const char* kActivities[] = {
    "Site survey", "Excavation",      "Foundation",    "Formwork",    "Steel frame",   "Masonry",
    "Roofing",     "Electrical work", "Plumbing",      "Plastering",  "Tiling",        "Painting",
    "Inspection",  "Handover",        "Design review", "Procurement", "Commissioning",
};

class RecordWriter
{
public:
    RecordWriter(std::uint64_t seed, long records, long outOfRange)
        : m_random(seed), m_records(records), m_outOfRange(outOfRange)
    {
    }

    void write(long index, char* r)
    {
        r[0] = (index % 97 == 96) ? '*' : ' '; // a few deleted records, as real tables have
        char* p = r + 1;
        writeNumber(p, 7, index + 1, 0);
        p += 7;
        const char* activity = kActivities[m_random.below(std::size(kActivities))];
        char name[64];
        std::snprintf(name, sizeof name, "%s %ld", activity, index % 1000 + 1);
        writeText(p, 30, name);
        p += 30;

        // Tasks come in projects of 25, each starting between 1985 and 2020.
        if (index % 25 == 0)
            m_projectStart = daysFromCivil(1985, 1, 1) + m_random.below(35 * 365);
        const long es = m_projectStart + m_random.below(900);
        const long duration = 1 + m_random.below(120);
        const long baselineShift = m_random.below(40) - 10;
        const bool started = !m_random.chance(5);
        const bool baselined = !m_random.chance(25);
        date(p, started ? es : -1);
        date(p + 8, started ? es + duration : -1);
        if (outOfRangeAt(index)) {
            const long year =
                m_random.chance(50) ? 1975 + m_random.below(5) : 2024 + m_random.below(6);
            const long outside = daysFromCivil(year, 6, 1) + m_random.below(120);
            writeDate(p, outside);
            writeDate(p + 8, outside + duration);
        }
        p += 16;
        std::memset(p, ' ', 20); // SHES, SHEF: still empty
        p += 20;
        writeNumber(p, 5, duration, 0);
        p += 5;
        date(p, baselined ? es + baselineShift : -1);
        date(p + 8, baselined ? es + baselineShift + duration : -1);
        p += 16;
        std::memset(p, ' ', 20); // SHTS, SHTF
        p += 20;
        writeNumber(p, 12, m_random.below(100000000), 2);
        p += 12;
        *p++ = "TF?"[m_random.below(3)];
    }

private:
    // -1 leaves the date empty: mostly blanks, sometimes zeros, as
    // different exporting programs write it.
    void date(char* out, long days)
    {
        if (days >= 0)
            writeDate(out, days);
        else
            std::memcpy(out, m_random.chance(20) ? "00000000" : "        ", 8);
    }
    bool outOfRangeAt(long index) const
    {
        if (m_outOfRange <= 0)
            return false;
        const long step = std::max(1L, m_records / m_outOfRange);
        return index % step == step / 2 && index / step < m_outOfRange;
    }

    Random m_random;
    long m_records;
    long m_outOfRange;
    long m_projectStart = 0;
};

int usage(const char* message)
{
    if (message)
        std::fprintf(stderr, "make-table: %s\n", message);
    std::fprintf(message ? stderr : stdout,
                 "Usage: make-table OUT.dbf [--records N] [--out-of-range N] [--seed N]\n"
                 "Writes a dBASE IV SHAMSI table of N made-up schedule records (default 100),\n"
                 "N of them with a date outside 1980 to 2023 (default 0). Same options, same "
                 "bytes.\n");
    return message ? 2 : 0;
}

bool number(const char* text, long& out)
{
    const char* end = text + std::strlen(text);
    auto [ptr, ec] = std::from_chars(text, end, out);
    return ec == std::errc() && ptr == end && out >= 0;
}

} // namespace

int main(int argc, char** argv)
{
    const char* outPath = nullptr;
    long records = 100, outOfRange = 0, seed = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        long* target = arg == "--records"        ? &records
                       : arg == "--out-of-range" ? &outOfRange
                       : arg == "--seed"         ? &seed
                                                 : nullptr;
        if (arg == "--help" || arg == "-h")
            return usage(nullptr);
        if (target) {
            if (i + 1 >= argc || !number(argv[i + 1], *target))
                return usage(("option " + std::string(arg) + " needs a number").c_str());
            ++i;
        } else if (arg.starts_with("-") || outPath) {
            return usage(("unexpected argument: " + std::string(arg)).c_str());
        } else {
            outPath = argv[i];
        }
    }
    if (!outPath)
        return usage("no output file given");
    // A table counts its records in 32 bits. (Where long has 32 bits, a
    // larger count is already refused as no number.)
    if (static_cast<unsigned long long>(records) > std::numeric_limits<std::uint32_t>::max())
        return usage("too many records");

    std::FILE* out = std::fopen(outPath, "wb");
    if (!out) {
        std::perror(outPath);
        return 1;
    }
    const auto h = header(static_cast<std::uint32_t>(records));
    bool ok = std::fwrite(h.data(), 1, h.size(), out) == h.size();

    RecordWriter writer(static_cast<std::uint64_t>(seed), records, outOfRange);
    constexpr long kBatch = 8192;
    std::vector<char> buffer(kRecordLength * kBatch);
    for (long first = 0; ok && first < records; first += kBatch) {
        const long n = std::min(kBatch, records - first);
        for (long i = 0; i < n; ++i)
            writer.write(first + i, buffer.data() + kRecordLength * static_cast<std::size_t>(i));
        const std::size_t bytes = kRecordLength * static_cast<std::size_t>(n);
        ok = std::fwrite(buffer.data(), 1, bytes, out) == bytes;
    }
    ok = ok && std::fputc(0x1A, out) != EOF;
    ok = (std::fclose(out) == 0) && ok;
    if (!ok) {
        std::perror(outPath);
        return 1;
    }
    return 0;
}
