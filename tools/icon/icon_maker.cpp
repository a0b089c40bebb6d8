// icon_maker: draws the program's icon, a sun behind a cloud, and writes it as a
// Windows icon file with one image each of 16, 32 and 48 pixels (32-bit colour with an
// alpha channel, and the 1-bit mask that older systems draw from).
//
//   cmake --build --preset native --target icon_maker
//   build/native/tools/icon/icon_maker src/app/kobrant.ico
//
// made the committed src/app/kobrant.ico, which src/app/kobrant.rc puts into
// kobrant.exe. "icon_maker --check FILE" fails when FILE differs from what it draws:
// the native test icon_is_current. Portable C++ only: the native preset builds it,
// the cross build only takes the file.
//
// The picture is a few circles and rectangles in a unit square (x to the right, y
// downwards). Each pixel is sampled 16 by 16 times; a sample takes the colour of the
// topmost shape it falls in, and the pixel the mean of its samples (the alpha channel
// is the share of samples that hit a shape). Only additions, multiplications and
// comparisons of doubles are used, so the bytes do not depend on a math library.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Color {
    int red, green, blue;
};

// The dialog's blue for the cloud's edge, a white cloud and a yellow sun.
constexpr Color kCloudEdge{0, 0, 255};
constexpr Color kCloud{255, 255, 255};
constexpr Color kSunEdge{224, 112, 0};
constexpr Color kSun{255, 208, 0};
constexpr Color kRay{255, 160, 0};

constexpr int kSamples = 16;  // per pixel and direction

struct Point {
    double x, y;
};

struct Circle {
    double x, y, r;
    bool Contains(Point p, double shrink) const {
        const double dx = p.x - x, dy = p.y - y, radius = r - shrink;
        return radius > 0 && dx * dx + dy * dy <= radius * radius;
    }
};

struct Box {
    double left, top, right, bottom;
    bool Contains(Point p, double shrink) const {
        return p.x >= left + shrink && p.x <= right - shrink && p.y >= top + shrink && p.y <= bottom - shrink;
    }
};

// A sun ray: the segment from a to b, with this half width.
struct Ray {
    Point a, b;
    double halfWidth;
    bool Contains(Point p) const {
        const double vx = b.x - a.x, vy = b.y - a.y;
        const double wx = p.x - a.x, wy = p.y - a.y;
        double t = (vx * wx + vy * wy) / (vx * vx + vy * vy);
        if (t < 0) t = 0;
        if (t > 1) t = 1;
        const double dx = wx - t * vx, dy = wy - t * vy;
        return dx * dx + dy * dy <= halfWidth * halfWidth;
    }
};

// The picture at one size: the sun at the top right, a cloud in front of it.
class Picture {
public:
    explicit Picture(int size) {
        const double pixel = 1.0 / size;
        edge_ = size <= 16 ? pixel : size <= 32 ? 1.5 * pixel : 2.0 * pixel;
        // The sun: larger and without rays at 16 pixels, where rays would only blur.
        if (size <= 16) {
            sun_ = {0.66, 0.34, 0.28};
        } else {
            sun_ = {0.63, 0.37, 0.21};
            // Eight rays around it; the diagonal ones from the unit vector (0.7071, 0.7071).
            const double inner = 0.27, outer = 0.35, d = 0.70710678;
            const Point directions[] = {{1, 0}, {d, d}, {0, 1}, {-d, d}, {-1, 0}, {-d, -d}, {0, -1}, {d, -d}};
            const double halfWidth = pixel;
            for (const Point& v : directions) {
                rays_.push_back({{sun_.x + inner * v.x, sun_.y + inner * v.y},
                                 {sun_.x + outer * v.x, sun_.y + outer * v.y},
                                 halfWidth});
            }
        }
        // The cloud: three round tops over a flat bottom.
        cloud_ = {{0.27, 0.6525, 0.16}, {0.48, 0.54, 0.22}, {0.73, 0.6725, 0.14}};
        cloudBase_ = {0.27, 0.60, 0.73, 0.8125};  // bottom on a pixel edge at each size
    }

    // The colour at p, or false for a sample outside every shape.
    bool ColorAt(Point p, Color& color) const {
        if (InCloud(p)) {
            color = InCloudInside(p) ? kCloud : kCloudEdge;
            return true;
        }
        if (sun_.Contains(p, 0)) {
            color = sun_.Contains(p, edge_) ? kSun : kSunEdge;
            return true;
        }
        for (const Ray& ray : rays_) {
            if (ray.Contains(p)) {
                color = kRay;
                return true;
            }
        }
        return false;
    }

private:
    bool InCloud(Point p) const {
        for (const Circle& c : cloud_) {
            if (c.Contains(p, 0)) return true;
        }
        return cloudBase_.Contains(p, 0);
    }

    // Inside the cloud by more than its edge: the points at the edge's width from p in
    // 16 directions are all in the cloud. (Shrinking each shape on its own would draw
    // seams where the shapes meet.)
    bool InCloudInside(Point p) const {
        static constexpr Point kDirections[] = {
            {1, 0},           {0.92387953, 0.38268343},   {0.70710678, 0.70710678},   {0.38268343, 0.92387953},
            {0, 1},           {-0.38268343, 0.92387953},  {-0.70710678, 0.70710678},  {-0.92387953, 0.38268343},
            {-1, 0},          {-0.92387953, -0.38268343}, {-0.70710678, -0.70710678}, {-0.38268343, -0.92387953},
            {0, -1},          {0.38268343, -0.92387953},  {0.70710678, -0.70710678},  {0.92387953, -0.38268343}};
        for (const Point& v : kDirections) {
            if (!InCloud({p.x + edge_ * v.x, p.y + edge_ * v.y})) return false;
        }
        return true;
    }

    double edge_;
    Circle sun_{};
    std::vector<Ray> rays_;
    std::vector<Circle> cloud_;
    Box cloudBase_{};
};

void Put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// One icon image: a BITMAPINFOHEADER of twice the height (colour image and mask), the
// 32-bit BGRA rows bottom up (colours not premultiplied), then the 1-bit mask rows
// bottom up, each padded to 4 bytes; a mask bit of 1 marks a transparent pixel.
std::string IconImage(int size) {
    const Picture picture(size);
    std::vector<std::uint8_t> bgra(static_cast<std::size_t>(size * size * 4));
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            long red = 0, green = 0, blue = 0, hits = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const Point p{(column + (sx + 0.5) / kSamples) / size, (row + (sy + 0.5) / kSamples) / size};
                    Color color{};
                    if (!picture.ColorAt(p, color)) continue;
                    red += color.red;
                    green += color.green;
                    blue += color.blue;
                    ++hits;
                }
            }
            // Straight (not premultiplied) colour: the mean over the samples that hit.
            const std::size_t at = static_cast<std::size_t>(((size - 1 - row) * size + column) * 4);
            if (hits > 0) {
                bgra[at + 0] = static_cast<std::uint8_t>((blue + hits / 2) / hits);
                bgra[at + 1] = static_cast<std::uint8_t>((green + hits / 2) / hits);
                bgra[at + 2] = static_cast<std::uint8_t>((red + hits / 2) / hits);
            }
            const long all = kSamples * kSamples;
            bgra[at + 3] = static_cast<std::uint8_t>((hits * 255 + all / 2) / all);
        }
    }
    const int maskRowBytes = (size + 31) / 32 * 4;
    std::string mask(static_cast<std::size_t>(maskRowBytes * size), '\0');
    for (int row = 0; row < size; ++row) {  // bottom-up rows, as the colour rows
        for (int column = 0; column < size; ++column) {
            if (bgra[static_cast<std::size_t>((row * size + column) * 4 + 3)] < 128) {
                mask[static_cast<std::size_t>(row * maskRowBytes + column / 8)] |=
                    static_cast<char>(0x80 >> (column % 8));
            }
        }
    }

    std::string image;
    Put32(image, 40);                                        // biSize
    Put32(image, static_cast<std::uint32_t>(size));          // biWidth
    Put32(image, static_cast<std::uint32_t>(2 * size));      // biHeight: colour and mask
    Put16(image, 1);                                         // biPlanes
    Put16(image, 32);                                        // biBitCount
    Put32(image, 0);                                         // biCompression: BI_RGB
    Put32(image, static_cast<std::uint32_t>(bgra.size() + mask.size()));  // biSizeImage
    Put32(image, 0);                                         // biXPelsPerMeter
    Put32(image, 0);                                         // biYPelsPerMeter
    Put32(image, 0);                                         // biClrUsed
    Put32(image, 0);                                         // biClrImportant
    image.append(reinterpret_cast<const char*>(bgra.data()), bgra.size());
    image += mask;
    return image;
}

// The icon file: ICONDIR, one ICONDIRENTRY per image, then the images.
std::string IconFile(const std::vector<int>& sizes) {
    std::vector<std::string> images;
    for (int size : sizes) images.push_back(IconImage(size));
    std::string file;
    Put16(file, 0);  // reserved
    Put16(file, 1);  // type: icon
    Put16(file, static_cast<unsigned>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        file += static_cast<char>(sizes[i]);  // width
        file += static_cast<char>(sizes[i]);  // height
        file += '\0';                         // colours in a palette: none
        file += '\0';                         // reserved
        Put16(file, 1);                       // planes
        Put16(file, 32);                      // bits per pixel
        Put32(file, static_cast<std::uint32_t>(images[i].size()));
        Put32(file, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const std::string& image : images) file += image;
    return file;
}

}  // namespace

int main(int argc, char** argv) {
    const bool check = argc == 3 && std::string(argv[1]) == "--check";
    if (argc != 2 && !check) {
        std::fprintf(stderr, "usage: icon_maker OUTPUT.ico | icon_maker --check FILE.ico\n");
        return 2;
    }
    const std::string icon = IconFile({16, 32, 48});
    if (check) {
        std::string file;
        if (std::FILE* in = std::fopen(argv[2], "rb")) {
            char buffer[4096];
            std::size_t read;
            while ((read = std::fread(buffer, 1, sizeof buffer, in)) > 0) file.append(buffer, read);
            std::fclose(in);
        }
        if (file == icon) return 0;
        std::fprintf(stderr, "%s differs from what icon_maker draws; make it again with: icon_maker %s\n", argv[2],
                     argv[2]);
        return 1;
    }
    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr || std::fwrite(icon.data(), 1, icon.size(), out) != icon.size() || std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
