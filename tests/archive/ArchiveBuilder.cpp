#include "ArchiveBuilder.h"

#include "archive/Crc32.h"
#include "archive/ExtractMember.h"

#include <algorithm>
#include <stdexcept>

void put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b.at(at) = std::uint8_t(v);
    b.at(at + 1) = std::uint8_t(v >> 8);
}

void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

Bytes toBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

void fixCheck(Bytes& b, std::size_t recordAt, std::size_t length, std::size_t checkAt) {
    put16(b, recordAt + checkAt, checkValue16(b.data() + recordAt, length, checkAt));
}

TestCode::TestCode(const std::vector<std::uint8_t>& lens) : codes(lens.size()), lengths(lens) {
    std::uint32_t count[17] = {}, next[17] = {};
    for (auto l : lens) count[l]++;
    count[0] = 0;
    std::uint32_t code = 0;
    for (int len = 1; len <= 16; ++len) {
        code = (code + count[len - 1]) << 1;
        next[len] = code;
    }
    for (std::size_t s = 0; s < lens.size(); ++s)
        if (lens[s]) codes[s] = next[lens[s]]++;
}

std::vector<std::uint8_t> fixedLengths(std::uint32_t fill) {
    std::vector<std::uint8_t> d(344, 0);
    for (int s = 0; s < 288; ++s) d[s] = s < 244 ? 8 : s <= 260 ? 9 : s <= 265 ? 10 : 11;
    d[256] = 0;
    for (int s = 0; s < 42; ++s)
        d[288 + s] = fill > 8192 ? (s < 22 ? 5 : 6) : (s < 4 ? 4 : s < 28 ? 5 : 0);
    for (int s = 0; s < 14; ++s) d[330 + s] = s < 2 ? 3 : 4;
    return d;
}

void putCodeLengths(BitWriter& w, const std::vector<std::uint8_t>& lengths, int alphabet) {
    for (int i = 0; i < 21; ++i) w.putBits(6, 5);  // every pre-code symbol 5 bits long
    std::vector<std::uint8_t> pre(21, 5);
    TestCode precode(pre);
    int current = 0;
    for (std::size_t pos = 0; pos < lengths.size(); ++pos) {
        int previous = pos >= std::size_t(alphabet) ? lengths[pos - alphabet] : 0;
        int base = previous != 0 ? previous : current;
        int s = (lengths[pos] - base + 17) % 17;
        precode.put(w, s);
        current = lengths[pos];
    }
}

void putBlockHeader(BitWriter& w, unsigned method, bool last, std::uint32_t size) {
    w.putBits(method, 4);
    w.putBits(last ? 1 : 0, 1);
    w.putBits(size, 20);
    w.putBits(0, 20);
}

Bytes finishBlock(BitWriter& w) {
    Bytes b = w.bytes();
    std::uint32_t n = static_cast<std::uint32_t>(b.size());
    for (int i = 0; i < 20; ++i) {
        std::size_t bit = 25 + i;
        b[bit / 8] = std::uint8_t((b[bit / 8] & ~(1u << (bit % 8))) | ((n >> i) & 1u) << (bit % 8));
    }
    return b;
}

Bytes storedBlock(const Bytes& data, bool last) {
    BitWriter w;
    putBlockHeader(w, 0, last, static_cast<std::uint32_t>(data.size()));
    w.alignToByte();
    w.putBytes(data.data(), data.size());
    return finishBlock(w);
}

namespace {

// Last column of the sorted rotations of data + end marker; `end` is where the marker lands.
std::vector<int> forwardBwt(const Bytes& data) {
    std::size_t n = data.size();
    std::vector<std::size_t> suffixes(n + 1);
    for (std::size_t i = 0; i <= n; ++i) suffixes[i] = i;
    std::sort(suffixes.begin(), suffixes.end(), [&](std::size_t a, std::size_t b) {
        return std::lexicographical_compare(data.begin() + a, data.end(), data.begin() + b, data.end());
    });
    std::vector<int> last;
    for (std::size_t s : suffixes) last.push_back(s == 0 ? -1 : data[s - 1]);
    return last;
}

void putZeroRun(std::vector<int>& symbols, std::uint32_t n) {
    while (n > 0) {
        if (n & 1) {
            symbols.push_back(0);
            n = (n - 1) / 2;
        } else {
            symbols.push_back(1);
            n = (n - 2) / 2;
        }
    }
}

}  // namespace

Bytes bwtBlock(const Bytes& data, bool last, std::uint8_t offset, std::uint32_t extraRun,
               bool* extended) {
    Bytes shifted(data);
    for (auto& b : shifted) b = std::uint8_t(b - offset);
    std::vector<int> column = forwardBwt(shifted);
    std::vector<int> symbols;
    std::uint8_t list[256];
    for (int i = 0; i < 256; ++i) list[i] = std::uint8_t(i);
    std::uint32_t run = 0;
    for (int v : column) {
        if (v >= 0 && list[0] == v) {
            ++run;
            continue;
        }
        putZeroRun(symbols, run);
        run = 0;
        if (v < 0) {
            symbols.push_back(257);
            continue;
        }
        int place = int(std::find(list, list + 256, v) - list);
        std::rotate(list, list + place, list + place + 1);
        symbols.push_back(place + 1);
    }
    if (extended) *extended = run > 0;
    putZeroRun(symbols, run + (run ? extraRun : 0));

    BitWriter w;
    putBlockHeader(w, 2, last, static_cast<std::uint32_t>(data.size()));
    w.putBits(offset, 8);
    w.putBits(1, 3);
    std::vector<std::uint8_t> lengths(258, 9);
    putCodeLengths(w, lengths, 258);
    w.alignToByte();
    TestCode code(lengths);
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        if (i % 50 == 0) w.putBits(0, 1);  // table choice: the first (only) code
        code.put(w, symbols[i]);
    }
    return finishBlock(w);
}

LzBody::LzBody(BitWriter& w, int alphabets, const std::vector<std::vector<std::uint8_t>>& groups,
               std::uint32_t fill)
    : w_(w), alphabets_(alphabets), groups_(groups), lit_(std::vector<std::uint8_t>{}), d0_(std::vector<std::uint8_t>{}), d1_(std::vector<std::uint8_t>{}), d2_(std::vector<std::uint8_t>{}) {
    w.putBits(static_cast<std::uint32_t>(alphabets), 2);
    w.putBits(static_cast<std::uint32_t>(groups.size()), 6);
    if (groups.empty()) {
        groups_.push_back(fixedLengths(fill));
    } else {
        std::vector<std::uint8_t> all;
        for (auto& g : groups) all.insert(all.end(), g.begin(), g.end());
        putCodeLengths(w, all, static_cast<int>(groups.front().size()));
    }
    useGroup(0);
}

void LzBody::useGroup(int g) {
    const auto& l = groups_.at(g);
    using L = std::vector<std::uint8_t>;
    lit_ = TestCode(L(l.begin(), l.begin() + 288));
    d0_ = TestCode(L(l.begin() + 288, l.begin() + 330));
    d1_ = TestCode(L(l.begin() + 330, l.begin() + 344));
    d2_ = TestCode(l.size() >= 372 ? L(l.begin() + 344, l.begin() + 372) : L(28, 0));
}

void LzBody::nextGroup() {
    lit_.put(w_, 256);
    if (group_ + 1 < int(groups_.size())) useGroup(++group_);
}

void LzBody::marker(unsigned k) {
    lit_.put(w_, 287);
    w_.putBits(k, 3);
}

void LzBody::match(std::uint32_t length, int d, std::uint32_t extra) {
    if (length <= 10) {
        lit_.put(w_, int(255 + length));
    } else if (length <= 258) {
        static const std::uint16_t base[20] = {11, 13, 15, 17, 19, 23, 27, 31, 35, 43,
                                               51, 59, 67, 83, 99, 115, 131, 163, 195, 227};
        static const std::uint8_t bits[20] = {1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5};
        int i = 19;
        while (base[i] > length) --i;
        lit_.put(w_, 266 + i);
        w_.putBits(length - base[i], bits[i]);
    } else {
        lit_.put(w_, 286);
        w_.putBits(length - 259, 15);
    }
    const TestCode& dc = length == 2 ? d1_ : (length == 3 && alphabets_ == 3 ? d2_ : d0_);
    dc.put(w_, d);
    if (d >= 6) w_.putBits(extra, unsigned((d - 6) / 2 + 1));
}

void LzBody::matchDistance(std::uint32_t length, std::uint32_t distance) {
    if (distance >= 1 && distance <= 4) return match(length, int(distance + 1));
    for (int d = 6; d <= 41; ++d) {
        unsigned j = unsigned(d - 6) / 2;
        std::uint32_t low = (d & 1) ? (3u << (j + 1)) + 1 : (1u << (j + 2)) + 1;
        if (distance >= low && distance < low + (1u << (j + 1))) return match(length, d, distance - low);
    }
    throw std::logic_error("distance out of range");
}

ArchiveBuilder::ArchiveBuilder() = default;

std::uint32_t ArchiveBuilder::addStream(const std::vector<Bytes>& blocks) {
    std::uint32_t offset = static_cast<std::uint32_t>(42 + body_.size());
    body_.insert(body_.end(), 6, 0);
    for (const Bytes& b : blocks) body_.insert(body_.end(), b.begin(), b.end());
    return offset;
}

Bytes ArchiveBuilder::record(const Bytes& data, std::uint16_t variable) {
    Bytes r(11 + variable, 0x5A);
    put16(r, 4, variable);
    r.insert(r.end(), data.begin(), data.end());
    return r;
}

void ArchiveBuilder::addEntry(const TestMember& m, std::uint32_t streamOffset, std::uint32_t headerOffset) {
    Bytes e(38, 0);
    put16(e, 0, m.version);
    put32(e, 4, streamOffset);
    e[10] = std::uint8_t(m.comment.size());
    e[11] = m.attributes;
    put32(e, 12, headerOffset);
    put32(e, 16, static_cast<std::uint32_t>(m.data.size()));
    put32(e, 20, m.crcGiven ? m.crc : crc32(m.data.data(), m.data.size()));
    put16(e, 24, static_cast<std::uint32_t>(m.extra.size()));
    put16(e, 26, static_cast<std::uint32_t>(m.name.size()));
    e.insert(e.end(), m.name.begin(), m.name.end());
    e.insert(e.end(), m.comment.begin(), m.comment.end());
    e.insert(e.end(), m.extra.begin(), m.extra.end());
    fixCheck(e, 0, e.size(), 36);
    entries_.push_back(e);
}

void ArchiveBuilder::addStoredMember(const TestMember& m) {
    addEntry(m, addStream({storedBlock(record(m.data), true)}), 0);
}

namespace {

Bytes directoryBlock(const Bytes& entries, bool compressed) {
    BitWriter w;
    w.putBits(compressed ? 1 : 0, 5);
    w.putBits(static_cast<std::uint32_t>(entries.size()), 20);
    w.putBits(0, 20);
    if (compressed) {
        w.putBits(0, 5);
        LzBody lz(w, 1, {}, static_cast<std::uint32_t>(entries.size()));
        for (auto b : entries) lz.literal(b);
    } else {
        w.alignToByte();
        w.putBytes(entries.data(), entries.size());
    }
    Bytes b = finishBlock(w);  // the same 20-bit field sits at bit 25 here as well
    Bytes out = {'I', 'M', 'P', 'D', 'E', 0};
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

}  // namespace

Bytes ArchiveBuilder::build() const {
    Bytes a(42, 0);
    a.insert(a.end(), body_.begin(), body_.end());
    std::uint32_t commentAt = 0;
    if (!comment.empty()) {
        commentAt = static_cast<std::uint32_t>(a.size());
        Bytes head(4, 0);
        put16(head, 0, static_cast<std::uint32_t>(comment.size()));
        put16(head, 2, crc32(comment.data(), comment.size()) & 0xFFFF);
        a.insert(a.end(), head.begin(), head.end());
        a.insert(a.end(), comment.begin(), comment.end());
    }
    std::uint32_t directoryAt = static_cast<std::uint32_t>(a.size());
    Bytes chunk;
    for (const Bytes& e : entries_) {
        if (chunk.size() + e.size() > 8192) {
            Bytes block = directoryBlock(chunk, compressedDirectory);
            a.insert(a.end(), block.begin(), block.end());
            chunk.clear();
        }
        chunk.insert(chunk.end(), e.begin(), e.end());
    }
    Bytes block = directoryBlock(chunk, compressedDirectory);
    a.insert(a.end(), block.begin(), block.end());
    a[0] = 'I', a[1] = 'M', a[2] = 'P', a[3] = '\n';
    put32(a, 4, directoryAt);
    put32(a, 8, entryCountOverride >= 0 ? std::uint32_t(entryCountOverride) : std::uint32_t(entries_.size()));
    put32(a, 16, commentAt);
    put16(a, 38, flags);
    fixCheck(a, 0, 42, 40);
    Bytes out(prefix);
    out.insert(out.end(), a.begin(), a.end());
    return out;
}

std::size_t firstEntryOffset(const Bytes& archive) {
    std::size_t start = 0;
    while (!(archive[start] == 'I' && archive[start + 1] == 'M' && archive[start + 2] == 'P' &&
             archive[start + 3] == '\n'))
        ++start;
    std::uint32_t dir = archive[start + 4] | archive[start + 5] << 8 | archive[start + 6] << 16 |
                        std::uint32_t(archive[start + 7]) << 24;
    return start + dir + 6 + 6;  // tag, then a 45-bit header rounded up to whole bytes
}

int extract(const Bytes& archive, const char* name, Bytes& out) {
    std::uint8_t* data = nullptr;
    std::uint32_t size = 0;
    int result = extractMemberFromMemory(archive.data(), archive.size(), name, data, size);
    out.assign(data, data + size);
    delete[] data;
    return result;
}
