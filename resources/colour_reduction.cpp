#include "colour_reduction.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>

namespace kaleno {

namespace {

struct ColourCount
{
    std::array<int, 3> channels; // red, green, blue
    long count;
};

// A run [begin, end) of the colour histogram.
struct Box
{
    size_t begin;
    size_t end;
    long population = 0;
    std::array<double, 3> mean {};
    std::array<double, 3> squaredError {};

    double totalError() const { return squaredError[0] + squaredError[1] + squaredError[2]; }
};

void measure(Box &box, const std::vector<ColourCount> &colours)
{
    box.population = 0;
    std::array<double, 3> sum {};
    std::array<double, 3> sumOfSquares {};
    for (size_t i = box.begin; i < box.end; ++i) {
        const ColourCount &colour = colours[i];
        box.population += colour.count;
        for (size_t c = 0; c < 3; ++c) {
            const double value = colour.channels[c];
            sum[c] += value * static_cast<double>(colour.count);
            sumOfSquares[c] += value * value * static_cast<double>(colour.count);
        }
    }
    const auto population = static_cast<double>(box.population);
    for (size_t c = 0; c < 3; ++c) {
        box.mean[c] = sum[c] / population;
        box.squaredError[c] = sumOfSquares[c] - sum[c] * box.mean[c];
    }
}

// Returns false when the box holds a single colour.
bool split(const Box &box, std::vector<ColourCount> &colours, Box *low, Box *high)
{
    if (box.end - box.begin < 2)
        return false;
    const size_t channel
        = static_cast<size_t>(std::max_element(box.squaredError.begin(), box.squaredError.end())
            - box.squaredError.begin());
    const auto first = colours.begin() + static_cast<std::ptrdiff_t>(box.begin);
    const auto last = colours.begin() + static_cast<std::ptrdiff_t>(box.end);
    // Ties broken on the whole colour so that the result never depends on the sort's whims.
    std::sort(first, last, [channel](const ColourCount &a, const ColourCount &b) {
        if (a.channels[channel] != b.channels[channel])
            return a.channels[channel] < b.channels[channel];
        return a.channels < b.channels;
    });
    long below = 0;
    size_t cut = box.begin + 1;
    for (size_t i = box.begin; i + 1 < box.end; ++i) {
        below += colours[i].count;
        cut = i + 1;
        if (2 * below >= box.population)
            break;
    }
    *low = Box {box.begin, cut};
    *high = Box {cut, box.end};
    measure(*low, colours);
    measure(*high, colours);
    return true;
}

int squaredDistance(QRgb a, QRgb b)
{
    const int red = qRed(a) - qRed(b);
    const int green = qGreen(a) - qGreen(b);
    const int blue = qBlue(a) - qBlue(b);
    return red * red + green * green + blue * blue;
}

} // namespace

IndexedPicture reduceColours(const QImage &image)
{
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    IndexedPicture picture;
    picture.width = source.width();
    picture.height = source.height();
    const auto pixelCount = static_cast<size_t>(picture.width * picture.height);
    picture.indices.assign(pixelCount, 0);
    picture.transparent.assign(pixelCount, false);

    std::map<QRgb, long> histogram;
    for (int y = 0; y < source.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            if (qAlpha(line[x]) >= OpaqueAlpha)
                ++histogram[line[x] | 0xFF000000u];
            else
                picture.transparent[static_cast<size_t>(y * picture.width + x)] = true;
        }
    }
    const bool anyTransparent
        = std::find(picture.transparent.begin(), picture.transparent.end(), true)
        != picture.transparent.end();
    if (anyTransparent)
        picture.palette.push_back(qRgb(0, 0, 0));
    if (histogram.empty())
        return picture;

    std::vector<ColourCount> colours;
    colours.reserve(histogram.size());
    for (const auto &[rgb, count] : histogram)
        colours.push_back({{qRed(rgb), qGreen(rgb), qBlue(rgb)}, count});

    const size_t boxLimit = PaletteSize - picture.palette.size();
    std::vector<Box> boxes {Box {0, colours.size()}};
    measure(boxes.front(), colours);
    std::vector<bool> splittable {true};
    while (boxes.size() < boxLimit) {
        size_t worst = boxes.size();
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (splittable[i]
                && (worst == boxes.size() || boxes[i].totalError() > boxes[worst].totalError()))
                worst = i;
        }
        if (worst == boxes.size())
            break;
        Box low {0, 0};
        Box high {0, 0};
        if (!split(boxes[worst], colours, &low, &high)) {
            splittable[worst] = false;
            continue;
        }
        boxes[worst] = low;
        boxes.push_back(high);
        splittable.push_back(true);
    }

    const size_t firstColour = picture.palette.size();
    for (const Box &box : boxes) {
        auto channel = [&box](size_t c) { return static_cast<int>(std::lround(box.mean[c])); };
        picture.palette.push_back(qRgb(channel(0), channel(1), channel(2)));
    }

    std::map<QRgb, std::uint8_t> nearest;
    for (const auto &entry : histogram) {
        const QRgb rgb = entry.first;
        int bestDistance = std::numeric_limits<int>::max();
        size_t best = firstColour;
        for (size_t i = firstColour; i < picture.palette.size(); ++i) {
            const int distance = squaredDistance(rgb, picture.palette[i]);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        nearest[rgb] = static_cast<std::uint8_t>(best);
    }
    for (int y = 0; y < source.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const auto at = static_cast<size_t>(y * picture.width + x);
            if (!picture.transparent[at])
                picture.indices[at] = nearest[line[x] | 0xFF000000u];
        }
    }
    return picture;
}

} // namespace kaleno
