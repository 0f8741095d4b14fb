// Renders the program's SVG icon (first argument) into PNG files of the given sizes:
// render_icon vorn.svg OUTPUT_FOLDER 16 32 ... writes OUTPUT_FOLDER/vorn-16.png and so on.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <iostream>

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc < 4) {
    std::cerr << "usage: render_icon ICON.svg FOLDER SIZE...\n";
    return 2;
  }
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid()) {
    std::cerr << "render_icon: cannot read " << argv[1] << "\n";
    return 1;
  }
  for (int i = 3; i < argc; ++i) {
    const int size = QString::fromLatin1(argv[i]).toInt();
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    const QString path = QString::fromLocal8Bit(argv[2]) + "/vorn-" + QString::number(size) + ".png";
    if (!image.save(path)) {
      std::cerr << "render_icon: cannot write " << path.toStdString() << "\n";
      return 1;
    }
  }
  return 0;
}
