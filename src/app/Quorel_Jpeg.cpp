#include "app/Quorel_Jpeg.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

struct Jpeg_Error_Manager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void Jpeg_Error_Exit(j_common_ptr info)
{
    auto* manager = reinterpret_cast<Jpeg_Error_Manager*>(info->err);
    std::longjmp(manager->jump, 1);
}

void Jpeg_Output_Message(j_common_ptr) {}

// Warnings (for example a premature end of data, which libjpeg pads with a
// fake end marker) make the picture unusable for us: treat them as errors.
void Jpeg_Emit_Message(j_common_ptr info, int level)
{
    if (level < 0)
        Jpeg_Error_Exit(info);
}

// Everything that must survive a longjmp lives outside the function that
// calls setjmp, so no automatic object is skipped.
struct Jpeg_Decode
{
    jpeg_decompress_struct info{};
    Jpeg_Error_Manager error{};
    QImage image;
};

bool Decode(Jpeg_Decode& d, const QByteArray& data)
{
    d.info.err = jpeg_std_error(&d.error.base);
    d.error.base.error_exit = Jpeg_Error_Exit;
    d.error.base.output_message = Jpeg_Output_Message;
    d.error.base.emit_message = Jpeg_Emit_Message;
    if (setjmp(d.error.jump)) {
        jpeg_destroy_decompress(&d.info);
        d.image = QImage();
        return false;
    }
    jpeg_create_decompress(&d.info);
    jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&d.info, TRUE);
    d.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d.info);
    const int width = int(d.info.output_width);
    const int height = int(d.info.output_height);
    if (width <= 0 || height <= 0 || d.info.output_components != 3 || width > 20000 || height > 20000) {
        jpeg_destroy_decompress(&d.info);
        return false;
    }
    d.image = QImage(width, height, QImage::Format_RGB888);
    if (d.image.isNull()) {
        jpeg_destroy_decompress(&d.info);
        return false;
    }
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW row = d.image.scanLine(int(d.info.output_scanline));
        jpeg_read_scanlines(&d.info, &row, 1);
    }
    jpeg_finish_decompress(&d.info);
    jpeg_destroy_decompress(&d.info);
    return true;
}

} // namespace

QImage Load_Jpeg(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    const QByteArray data = file.readAll();
    if (data.isEmpty())
        return QImage();
    Jpeg_Decode d;
    if (!Decode(d, data))
        return QImage();
    return d.image.convertToFormat(QImage::Format_RGB32);
}
