// Writes the desktop program's installed resources into a share/ tree: the
// desktop entry, the MIME package and the icons in the hicolor theme, all
// drawn by the same code as the program's own, and the manual page with the
// options the program takes.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <cstdio>
#include <functional>

#include "app/file_association.h"
#include "app/program_options.h"
#include "app/toolbar_icons.h"

namespace {

using Paint = std::function<void(QPainter&)>;

constexpr int kBitmapSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

bool Write(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(bytes);
  return file.commit();
}

bool WriteSvg(const QString& path, const QString& title, const Paint& paint) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QSvgGenerator svg;
  svg.setFileName(path);
  svg.setTitle(title);
  svg.setSize(QSize(256, 256));
  svg.setViewBox(QRect(0, 0, 32, 32));
  QPainter painter(&svg);
  paint(painter);
  return painter.end();
}

bool WritePng(const QString& path, int size, const Paint& paint) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.scale(size / 32.0, size / 32.0);
  paint(painter);
  painter.end();
  return image.save(path, "PNG");
}

// The manual page from its template: the version and the options filled in.
bool WriteManual(const QString& path, const QString& template_path, const QByteArray& version) {
  QFile in(template_path);
  if (!in.open(QIODevice::ReadOnly)) return false;
  QByteArray manual = in.readAll();
  const std::pair<QByteArray, QByteArray> fields[] = {
      {"@VERSION@", version},
      {"@OPTIONS@\n", QByteArray::fromStdString(luma::app::ManualOptions())},
  };
  for (const auto& [key, value] : fields) {
    const qsizetype at = manual.indexOf(key);
    if (at < 0) {
      std::fprintf(stderr, "%s has no %s\n", qPrintable(template_path), key.constData());
      return false;
    }
    manual.replace(at, key.size(), value);
  }
  return Write(path, manual);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s SHARE_DIR MANUAL_TEMPLATE VERSION\n", argv[0]);
    return 2;
  }
  const QDir share(QString::fromLocal8Bit(argv[1]));
  using luma::app::PaintAppIcon;
  using luma::app::PaintDocumentIcon;
  const struct {
    const char* context;
    const char* name;
    const char* title;
    Paint paint;
  } icons[] = {
      {"apps", "lumadoll", "Lumadoll", PaintAppIcon},
      {"mimetypes", "application-x-kiss-cnf", "KiSS Configuration File",
       [](QPainter& p) { PaintDocumentIcon(p, false); }},
      {"mimetypes", "application-x-kiss-lzh", "KiSS Data Set",
       [](QPainter& p) { PaintDocumentIcon(p, true); }},
  };
  bool ok =
      Write(share.filePath(QString("applications/") + luma::app::kDesktopFileId),
            luma::app::DesktopEntryText("lumadoll %f", luma::app::DesktopEntryScope::kInstalled));
  ok &= Write(share.filePath("mime/packages/lumadoll.xml"), luma::app::MimePackageXml());
  for (const auto& icon : icons) {
    const QString file = QString("/%1/%2").arg(icon.context, icon.name);
    ok &=
        WriteSvg(share.filePath("icons/hicolor/scalable" + file + ".svg"), icon.title, icon.paint);
    for (int size : kBitmapSizes) {
      const QString folder = QString("icons/hicolor/%1x%1").arg(size);
      ok &= WritePng(share.filePath(folder + file + ".png"), size, icon.paint);
    }
  }
  ok &= WriteManual(share.filePath("man/man1/lumadoll.1"), QString::fromLocal8Bit(argv[2]),
                    QByteArray(argv[3]));
  if (!ok) std::fprintf(stderr, "%s: could not write every file\n", argv[0]);
  return ok ? 0 : 1;
}
