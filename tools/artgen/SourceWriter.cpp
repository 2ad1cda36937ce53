#include "SourceWriter.h"

#include <QBuffer>

#include <cstdio>

namespace cirrolux::artgen {

QByteArray EncodePng(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG", 9);
    return bytes;
}

std::string PictureSource(const PictureList& pictures)
{
    std::string out =
        "// Drawn by cirrolux-artgen at build time; edit the generator, not this file.\n"
        "#include \"PictureBlobs.h\"\n\n"
        "namespace cirrolux::pictureblobs {\n\nnamespace {\n\n";
    char hex[8];
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const QByteArray png = EncodePng(pictures[i].image);
        out += "// " + pictures[i].name + " " + std::to_string(pictures[i].image.width()) + "x" +
               std::to_string(pictures[i].image.height()) + "\n";
        out += "const unsigned char Png" + std::to_string(i) + "[] = {";
        for (int b = 0; b < png.size(); ++b) {
            if (b % 16 == 0)
                out += "\n   ";
            std::snprintf(hex, sizeof hex, " 0x%02x,", static_cast<unsigned char>(png[b]));
            out += hex;
        }
        out += "\n};\n\n";
    }
    out += "const Blob Blobs[] = {\n";
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        out += "    {\"" + pictures[i].name + "\", Png" + std::to_string(i) + ", sizeof Png" +
               std::to_string(i) + "},\n";
    }
    out += "};\n\n} // namespace\n\n"
           "std::span<const Blob> All()\n{\n    return Blobs;\n}\n\n"
           "} // namespace cirrolux::pictureblobs\n";
    return out;
}

} // namespace cirrolux::artgen
