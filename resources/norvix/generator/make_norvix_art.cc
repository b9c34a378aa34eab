// Draws the pictures of the Norvix windows: the seven tool button icons (PNG),
// the program's icon (norvix.png, 128 pixels) and the start-up splash (JPEG, written through libjpeg).  Run it once after
// changing a drawing and commit what it writes:
//   make_norvix_art OUTPUT_FOLDER
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>
#include <functional>
#include <iterator>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr int kIcon = 24;
const QColor kInk(0x20, 0x30, 0x50);

using Drawing = std::function<void(QPainter&)>;

// A page with a folded corner; the shape behind several icons.
void page(QPainter& p, QColor fill) {
  QPainterPath path;
  path.moveTo(5, 2);
  path.lineTo(15, 2);
  path.lineTo(20, 7);
  path.lineTo(20, 22);
  path.lineTo(5, 22);
  path.closeSubpath();
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(fill);
  p.drawPath(path);
  p.drawLine(QPointF(15, 2), QPointF(15, 7));
  p.drawLine(QPointF(15, 7), QPointF(20, 7));
}

void drawClear(QPainter& p) {
  page(p, Qt::white);
  p.setPen(QPen(QColor(0xD0, 0x30, 0x30), 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(13, 13), QPointF(21, 21));
  p.drawLine(QPointF(21, 13), QPointF(13, 21));
}

void drawLoad(QPainter& p) {
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(QColor(0xE8, 0xB8, 0x40));
  p.drawRect(QRectF(2, 6, 17, 14));
  p.drawRect(QRectF(2, 4, 7, 3));
  QPainterPath flap;
  flap.moveTo(5, 11);
  flap.lineTo(23, 11);
  flap.lineTo(19, 20);
  flap.lineTo(2, 20);
  flap.closeSubpath();
  p.setBrush(QColor(0xF8, 0xD8, 0x70));
  p.drawPath(flap);
}

void drawSave(QPainter& p) {
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(QColor(0x40, 0x60, 0xB0));
  p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(7, 3, 10, 7));
  p.setBrush(QColor(0xC8, 0xC8, 0xD0));
  p.drawRect(QRectF(6, 14, 12, 7));
  p.setBrush(kInk);
  p.drawRect(QRectF(13, 4.5, 2.5, 4));
}

void drawEdit(QPainter& p) {
  page(p, QColor(0xF4, 0xF4, 0xE8));
  p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
  for (int y = 10; y <= 18; y += 4) p.drawLine(7, y, 14, y);
  p.save();
  p.translate(17, 13);
  p.rotate(45);
  p.setPen(QPen(kInk, 1));
  p.setBrush(QColor(0xF0, 0xC0, 0x30));
  p.drawRect(QRectF(-2, -9, 4, 13));
  p.setBrush(QColor(0xF0, 0xD8, 0xB0));
  QPainterPath tip;
  tip.moveTo(-2, 4);
  tip.lineTo(2, 4);
  tip.lineTo(0, 8);
  tip.closeSubpath();
  p.drawPath(tip);
  p.restore();
}

void drawQuery(QPainter& p) {
  QRadialGradient g(QPointF(10, 9), 12);
  g.setColorAt(0, QColor(0x90, 0xE0, 0x90));
  g.setColorAt(1, QColor(0x20, 0x90, 0x40));
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(g);
  p.drawEllipse(QRectF(2, 2, 20, 20));
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setBold(true);
  f.setPixelSize(16);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, QStringLiteral("?"));
}

void drawExit(QPainter& p) {
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(QColor(0x8B, 0x5A, 0x2B));
  p.drawRect(QRectF(3, 2, 11, 20));
  p.setBrush(QColor(0xE0, 0xC0, 0x40));
  p.drawEllipse(QRectF(10.5, 11, 2, 2));
  p.setPen(QPen(QColor(0xC0, 0x20, 0x20), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(QPointF(12, 12), QPointF(22, 12));
  p.drawLine(QPointF(18, 8), QPointF(22, 12));
  p.drawLine(QPointF(18, 16), QPointF(22, 12));
}

void drawReport(QPainter& p) {
  page(p, Qt::white);
  p.setPen(QPen(kInk, 1));
  p.setBrush(QColor(0x30, 0x80, 0xD0));
  p.drawRect(QRectF(7, 9, 3, 3));
  p.drawRect(QRectF(10, 14, 3, 3));
  p.drawRect(QRectF(10, 18, 3, 3));
  p.drawLine(QPointF(8.5, 12), QPointF(8.5, 19.5));
  p.drawLine(QPointF(8.5, 15.5), QPointF(10, 15.5));
  p.drawLine(QPointF(8.5, 19.5), QPointF(10, 19.5));
  p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
  p.drawLine(12, 10, 17, 10);
  p.drawLine(15, 15, 18, 15);
  p.drawLine(15, 19, 18, 19);
}

QImage icon(const Drawing& draw) {
  QImage image(kIcon, kIcon, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  draw(p);
  return image;
}

// The splash: a sky-blue field, a small network of frames, the name.  The
// band from y 185 to 230 stays light for the caption and progress strip.
QImage splash() {
  QImage image(418, 295, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, 295);
  sky.setColorAt(0, QColor(0x1C, 0x3C, 0x78));
  sky.setColorAt(0.55, QColor(0x5A, 0x8C, 0xC8));
  sky.setColorAt(1, QColor(0xE8, 0xF0, 0xFA));
  p.fillRect(image.rect(), sky);
  const std::vector<QPointF> nodes = {{300, 40}, {250, 95}, {350, 95}, {215, 150},
                                      {285, 150}, {330, 150}, {385, 150}};
  const int links[][2] = {{0, 1}, {0, 2}, {1, 3}, {1, 4}, {2, 5}, {2, 6}};
  p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF, 0xB0), 2));
  for (const auto& l : links) p.drawLine(nodes[l[0]], nodes[l[1]]);
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    p.setBrush(i == 0 ? QColor(0xF0, 0xB0, 0x30) : QColor(0xF8, 0xF8, 0xF0));
    p.setPen(QPen(QColor(0x10, 0x20, 0x40), 1.5));
    p.drawRoundedRect(QRectF(nodes[i].x() - 17, nodes[i].y() - 11, 34, 22), 4, 4);
    p.setPen(QPen(QColor(0x70, 0x80, 0x90), 1));
    p.drawLine(QPointF(nodes[i].x() - 11, nodes[i].y() - 2), QPointF(nodes[i].x() + 11, nodes[i].y() - 2));
    p.drawLine(QPointF(nodes[i].x() - 11, nodes[i].y() + 4), QPointF(nodes[i].x() + 5, nodes[i].y() + 4));
  }
  QFont title(QStringLiteral("DejaVu Serif"));
  title.setBold(true);
  title.setPixelSize(38);
  p.setFont(title);
  p.setPen(Qt::white);
  p.drawText(QRectF(24, 40, 200, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("KV7"));
  p.drawText(QRectF(24, 82, 200, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quillon"));
  QFont sub(QStringLiteral("DejaVu Sans"));
  sub.setPixelSize(15);
  p.setFont(sub);
  p.setPen(QColor(0xE0, 0xE8, 0xFF));
  p.drawText(QRectF(26, 128, 220, 24), Qt::AlignLeft | Qt::AlignVCenter,
             QString::fromUtf8("\xD0\xB2\xD0\xB5\xD1\x80\xD1\x81\xD0\xB8\xD1\x8F 2.0"));  // версия 2.0
  p.fillRect(QRectF(60, 185, 298, 46), QColor(0xFF, 0xFF, 0xFF, 0x90));
  p.setPen(QColor(0x50, 0x60, 0x70));
  p.setFont(sub);
  p.drawText(QRectF(0, 255, 418, 30), Qt::AlignCenter,
             QString::fromUtf8("\xD0\xBE\xD0\xB1\xD0\xBE\xD0\xBB\xD0\xBE\xD1\x87\xD0\xBA\xD0\xB0 "
                               "\xD1\x8D\xD0\xBA\xD1\x81\xD0\xBF\xD0\xB5\xD1\x80\xD1\x82\xD0\xBD"
                               "\xD0\xBE\xD0\xB9 \xD1\x81\xD0\xB8\xD1\x81\xD1\x82\xD0\xB5\xD0\xBC"
                               "\xD1\x8B"));  // оболочка экспертной системы
  return image;
}

// The program's icon: a small tree of frames, the found one golden, on a
// rounded blue tile.
QImage programIcon() {
  constexpr int kSize = 128;
  QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient tile(0, 0, 0, kSize);
  tile.setColorAt(0, QColor(0x2A, 0x50, 0x98));
  tile.setColorAt(1, QColor(0x5A, 0x8C, 0xC8));
  p.setPen(Qt::NoPen);
  p.setBrush(tile);
  p.drawRoundedRect(QRectF(4, 4, 120, 120), 22, 22);
  const QPointF nodes[] = {{64, 30}, {36, 66}, {92, 66}, {22, 100}, {50, 100}, {92, 100}};
  const int links[][2] = {{0, 1}, {0, 2}, {1, 3}, {1, 4}, {2, 5}};
  p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF, 0xC0), 4));
  for (const auto& l : links) p.drawLine(nodes[l[0]], nodes[l[1]]);
  for (std::size_t i = 0; i < std::size(nodes); ++i) {
    p.setPen(QPen(QColor(0x10, 0x20, 0x40), 2.5));
    p.setBrush(i == 4 ? QColor(0xF0, 0xB0, 0x30) : QColor(0xF8, 0xF8, 0xF0));
    p.drawRoundedRect(QRectF(nodes[i].x() - 13, nodes[i].y() - 9, 26, 18), 4, 4);
  }
  return image;
}

// Writes `image` as a baseline JPEG through libjpeg.
bool writeJpeg(const QImage& image, const QString& path, int quality) {
  QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  FILE* out = std::fopen(path.toLocal8Bit().constData(), "wb");
  if (!out) return false;
  jpeg_compress_struct info;
  jpeg_error_mgr err;
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, out);
  info.image_width = static_cast<JDIMENSION>(rgb.width());
  info.image_height = static_cast<JDIMENSION>(rgb.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<uchar*>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_norvix_art OUTPUT_FOLDER\n");
    return 2;
  }
  const QString dir = QString::fromLocal8Bit(argv[1]);
  const std::pair<const char*, Drawing> icons[] = {
      {"clear", drawClear}, {"load", drawLoad},   {"save", drawSave},    {"edit", drawEdit},
      {"query", drawQuery}, {"exit", drawExit},   {"report", drawReport}};
  bool ok = true;
  for (const auto& [name, draw] : icons)
    ok = icon(draw).save(dir + QStringLiteral("/") + QString::fromLatin1(name) +
                         QStringLiteral(".png")) && ok;
  ok = programIcon().save(dir + QStringLiteral("/norvix.png")) && ok;
  ok = writeJpeg(splash(), dir + QStringLiteral("/splash.jpg"), 88) && ok;
  return ok ? 0 : 1;
}
