#include "tools/sheet/sheetfile.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <map>

namespace {

constexpr int FREE_FIRST = 1;     // index 0 is black
constexpr int FREE_LAST = 254;    // index 255 is white
constexpr int PINNED_MAX = 150;       // at most this many colours stay exact
constexpr uint64_t PINNED_COUNT = 800;  // ... each covering this many pixels
constexpr int REFINE_ROUNDS = 10;

uint32_t pack(Rgb c) { return (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b; }
Rgb unpack(uint32_t v) { return Rgb{uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}; }

struct Entry {
    Rgb colour;
    uint64_t count;
};

int channel(Rgb c, int k) { return k == 0 ? c.r : k == 1 ? c.g : c.b; }

int distance(Rgb a, Rgb b) {
    int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    // Weighted toward green as the eye is.
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

// Median cut over the colours that are not kept exactly.
std::vector<Rgb> medianCut(std::vector<Entry> entries, int boxes) {
    std::vector<std::vector<Entry>> parts;
    if (!entries.empty()) parts.push_back(std::move(entries));
    while (static_cast<int>(parts.size()) < boxes) {
        int best = -1, bestRange = 0, bestChannel = 0;
        for (int i = 0; i < static_cast<int>(parts.size()); i++) {
            if (parts[i].size() < 2) continue;
            for (int k = 0; k < 3; k++) {
                int lo = 255, hi = 0;
                for (const Entry& e : parts[i]) {
                    lo = std::min(lo, channel(e.colour, k));
                    hi = std::max(hi, channel(e.colour, k));
                }
                if (hi - lo > bestRange) {
                    bestRange = hi - lo;
                    best = i;
                    bestChannel = k;
                }
            }
        }
        if (best < 0) break;
        std::vector<Entry>& box = parts[best];
        std::stable_sort(box.begin(), box.end(), [&](const Entry& a, const Entry& b) {
            return channel(a.colour, bestChannel) < channel(b.colour, bestChannel);
        });
        uint64_t total = 0;
        for (const Entry& e : box) total += e.count;
        uint64_t running = 0;
        size_t cut = 1;
        for (size_t i = 0; i + 1 < box.size(); i++) {
            running += box[i].count;
            cut = i + 1;
            if (running * 2 >= total) break;
        }
        std::vector<Entry> upper(box.begin() + static_cast<std::ptrdiff_t>(cut), box.end());
        box.resize(cut);
        parts.push_back(std::move(upper));
    }
    std::vector<Rgb> result;
    for (const std::vector<Entry>& box : parts) {
        double r = 0, g = 0, b = 0, n = 0;
        for (const Entry& e : box) {
            r += double(e.colour.r) * e.count;
            g += double(e.colour.g) * e.count;
            b += double(e.colour.b) * e.count;
            n += double(e.count);
        }
        Rgb mean = rgbVisible(Rgb{uint8_t(r / n + 0.5), uint8_t(g / n + 0.5), uint8_t(b / n + 0.5)});
        result.push_back(mean);
    }
    return result;
}

}  // namespace

IndexedImage quantize(const Canvas& canvas, const std::vector<Rgb>& keep) {
    IndexedImage image;
    image.width = canvas.width;
    image.height = canvas.height;
    std::map<uint32_t, uint64_t> histogram;
    for (const Rgb& c : canvas.pixels) histogram[pack(c)]++;
    histogram.erase(pack(RGB_CLEAR));
    histogram.erase(pack(Rgb{255, 255, 255}));

    std::vector<Entry> entries;
    for (const auto& [colour, count] : histogram) entries.push_back(Entry{unpack(colour), count});
    // Colours to keep come first, then by use.
    auto kept = [&](Rgb c) { return std::find(keep.begin(), keep.end(), c) != keep.end(); };
    std::stable_sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        bool ka = kept(a.colour), kb = kept(b.colour);
        if (ka != kb) return ka;
        return a.count > b.count;
    });

    const int freeSlots = FREE_LAST - FREE_FIRST + 1;
    std::vector<Rgb> colours;
    size_t pinned = 0;
    if (static_cast<int>(entries.size()) <= freeSlots) {
        for (const Entry& e : entries) colours.push_back(e.colour);
    } else {
        // Large flat areas keep their exact colour; the rest start from a
        // median cut and settle by a few rounds of nearest-mean refinement.
        while (pinned < entries.size() && static_cast<int>(pinned) < freeSlots && kept(entries[pinned].colour)) pinned++;
        while (pinned < entries.size() && static_cast<int>(pinned) < PINNED_MAX &&
               entries[pinned].count >= PINNED_COUNT)
            pinned++;
        for (size_t i = 0; i < pinned; i++) colours.push_back(entries[i].colour);
        std::vector<Entry> rest(entries.begin() + static_cast<std::ptrdiff_t>(pinned), entries.end());
        std::vector<Rgb> shared = medianCut(rest, freeSlots - static_cast<int>(pinned));
        colours.insert(colours.end(), shared.begin(), shared.end());
        for (int round = 0; round < REFINE_ROUNDS; round++) {
            std::vector<double> sr(colours.size()), sg(colours.size()), sb(colours.size()), n(colours.size());
            for (const Entry& e : rest) {
                size_t best = 0;
                int bestDistance = 1 << 30;
                for (size_t i = 0; i < colours.size(); i++) {
                    int d = distance(e.colour, colours[i]);
                    if (d < bestDistance) {
                        bestDistance = d;
                        best = i;
                    }
                }
                double w = double(e.count);
                sr[best] += e.colour.r * w;
                sg[best] += e.colour.g * w;
                sb[best] += e.colour.b * w;
                n[best] += w;
            }
            for (size_t i = pinned; i < colours.size(); i++) {
                if (n[i] == 0) continue;
                colours[i] = rgbVisible(Rgb{uint8_t(sr[i] / n[i] + 0.5), uint8_t(sg[i] / n[i] + 0.5),
                                            uint8_t(sb[i] / n[i] + 0.5)});
            }
        }
    }
    image.palette.fill(RGB_CLEAR);
    image.palette[255] = Rgb{255, 255, 255};
    for (size_t i = 0; i < colours.size(); i++) image.palette[FREE_FIRST + i] = colours[i];
    int used = FREE_FIRST + static_cast<int>(colours.size());

    std::map<uint32_t, uint8_t> lookup;
    lookup[pack(RGB_CLEAR)] = 0;
    lookup[pack(Rgb{255, 255, 255})] = 255;
    for (const Entry& e : entries) {
        int best = FREE_FIRST, bestDistance = 1 << 30;
        for (int i = FREE_FIRST; i < used; i++) {
            int d = distance(e.colour, image.palette[static_cast<size_t>(i)]);
            if (d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        lookup[pack(e.colour)] = static_cast<uint8_t>(best);
    }
    image.indices.resize(canvas.pixels.size());
    for (size_t i = 0; i < canvas.pixels.size(); i++) image.indices[i] = lookup[pack(canvas.pixels[i])];
    return image;
}

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace

bool writeBitmap(const IndexedImage& image, const std::string& path) {
    const uint32_t stride = (uint32_t(image.width) + 3) / 4 * 4;
    const uint32_t pixelBytes = stride * uint32_t(image.height);
    const uint32_t offset = 14 + 40 + 1024;
    std::vector<uint8_t> out;
    out.reserve(offset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + pixelBytes);
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, uint32_t(image.width));
    put32(out, uint32_t(image.height));  // positive: bottom row first
    put16(out, 1);
    put16(out, 8);
    put32(out, 0);  // no compression
    put32(out, pixelBytes);
    put32(out, 2835);  // 72 dots per inch
    put32(out, 2835);
    put32(out, 256);
    put32(out, 0);
    for (const Rgb& c : image.palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (int y = image.height - 1; y >= 0; y--) {
        const uint8_t* row = image.indices.data() + static_cast<size_t>(y) * image.width;
        out.insert(out.end(), row, row + image.width);
        for (uint32_t pad = uint32_t(image.width); pad < stride; pad++) out.push_back(0);
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    ok = std::fclose(file) == 0 && ok;
    return ok;
}
