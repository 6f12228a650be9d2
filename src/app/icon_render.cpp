// Build helper: converts the program icon from its XPM source into the PNG that is installed for
// desktop menus. Usage: xpm_to_png <in.xpm> <out.png>

#include <QImage>
#include <QString>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: xpm_to_png <in.xpm> <out.png>\n", stderr);
    return 2;
  }
  const QImage image(QString::fromLocal8Bit(argv[1]), "XPM");
  if (image.isNull()) {
    std::fprintf(stderr, "xpm_to_png: cannot read %s\n", argv[1]);
    return 1;
  }
  if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "xpm_to_png: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
