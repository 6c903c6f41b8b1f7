#include "ImageTestSupport.h"

#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace qv::test {

void fillRgb(CImageBuffer& image, int32_t width, int32_t height,
             const std::function<Rgb(int32_t, int32_t)>& colour) {
  if (!image.create(width, height, 24)) {
    return;
  }
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = image.row(height - 1 - y);
    for (int32_t x = 0; x < width; ++x) {
      const Rgb c = colour(x, y);
      row[3 * x] = c[2];
      row[3 * x + 1] = c[1];
      row[3 * x + 2] = c[0];
    }
  }
}

Rgb pixelAt(const CImageBuffer& image, int32_t x, int32_t y) {
  const uint8_t* row = image.row(image.height() - 1 - y);
  switch (image.bitsPerPixel()) {
    case 24:
      return {row[3 * x + 2], row[3 * x + 1], row[3 * x]};
    case 8:
    case 4:
    case 1: {
      const int bits = image.bitsPerPixel();
      const int index = bits == 8   ? row[x]
                        : bits == 4 ? ((x & 1) ? (row[x / 2] & 15) : (row[x / 2] >> 4))
                                    : (row[x / 8] >> (7 - x % 8)) & 1;
      const PaletteEntry& e = image.palette()[index];
      return {e.red, e.green, e.blue};
    }
  }
  return {0, 0, 0};
}

Rgb pageColour(int32_t x, int32_t y) {
  // A photo-like block in the lower right part of the page.
  if (x >= 300 && x < 560 && y >= 420 && y < 640) {
    const int u = x - 300, v = y - 420;
    return {static_cast<uint8_t>((u * 255) / 260), static_cast<uint8_t>((v * 255) / 220),
            static_cast<uint8_t>(128 + 60 * std::sin(u / 9.0) * std::cos(v / 7.0))};
  }
  // Lines of "text": short dark strokes on a 12-pixel line pitch, with grey edges.
  const int line = y % 14;
  const int glyph = x % 9;
  if (x >= 54 && x < 558 && y >= 60 && y < 400 && line >= 3 && line < 12 &&
      ((x / 9 + y / 14) % 7) != 0) {
    if (glyph == 2 || glyph == 5 || (line == 3 && glyph > 1 && glyph < 6)) {
      return {20, 20, 20};
    }
    if (glyph == 1 || glyph == 6) {
      return {170, 170, 170};
    }
  }
  return {255, 255, 255};
}

int run(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool haveTool(const std::string& name) {
  return run("command -v " + name + " >/dev/null 2>&1") == 0;
}

std::optional<std::string> pillowPython() {
  for (const char* candidate : {"/usr/bin/python3", "python3"}) {
    if (run(std::string(candidate) + " -c 'import PIL' >/dev/null 2>&1") == 0) {
      return std::string(candidate);
    }
  }
  return std::nullopt;
}

std::vector<uint8_t> readBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> decodeWithPillow(const std::string& python, const std::filesystem::path& file,
                                      std::string* mode) {
  const std::filesystem::path raw = file.string() + ".rgb";
  const std::filesystem::path modeFile = file.string() + ".mode";
  const std::string script =
      "import sys\n"
      "from PIL import Image\n"
      "im = Image.open(sys.argv[1])\n"
      "open(sys.argv[3], 'w').write(im.mode)\n"
      "open(sys.argv[2], 'wb').write(im.convert('RGB').tobytes())\n";
  const std::filesystem::path scriptFile = file.string() + ".py";
  {
    std::ofstream out(scriptFile);
    out << script;
  }
  if (run(python + " '" + scriptFile.string() + "' '" + file.string() + "' '" + raw.string() +
          "' '" + modeFile.string() + "'") != 0) {
    return {};
  }
  if (mode) {
    const auto bytes = readBytes(modeFile);
    mode->assign(bytes.begin(), bytes.end());
  }
  return readBytes(raw);
}

}  // namespace qv::test
