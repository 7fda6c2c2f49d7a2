// PNG at twice the figure's px for sharp print; SVG at the figure's px.
#include "cli/writers/figure_writer.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "cli/app/error.h"
#include "cli/writers/atomic_file.h"
#include "cli/writers/figure_renderer.h"
#include "cli/writers/png_canvas.h"
#include "cli/writers/svg_canvas.h"

namespace cli::plot {

namespace {

constexpr double kPngScale = 2.0;

std::string extensionOf(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

}  // namespace

void checkFigurePath(const std::string& path) {
  const std::string extension = extensionOf(path);
  if (extension != ".png" && extension != ".svg")
    throw Error(path + ": plots are written as .png or .svg");
}

std::string svgText(const Figure& figure) {
  SvgCanvas canvas(figure.width, figureHeight(figure));
  drawFigure(figure, canvas);
  return canvas.document();
}

void writeFigure(const Figure& figure, const std::string& path) {
  checkFigurePath(path);
  if (extensionOf(path) == ".svg") {
    writeFileAtomically(path, svgText(figure));
    return;
  }
  PngCanvas canvas(figure.width, figureHeight(figure), kPngScale);
  drawFigure(figure, canvas);
  AtomicFile file(path);
  canvas.save(file.temporaryPath(), path);
  file.commit();
}

}  // namespace cli::plot
