#include "platform/fontfile.h"

#include "platform/filereading.h"

#include <QFile>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <sys/stat.h>
#include <unistd.h>

namespace glyvex::platform {

namespace {

// FreeType's library object for one check.
struct Library {
    Library() { FT_Init_FreeType(&handle); }
    ~Library() { FT_Done_FreeType(handle); }
    FT_Library handle = nullptr;
};

// Why a face cannot be shown, or an empty text.
QString faceProblem(FT_Face face)
{
    // A size for the loads below: the first one of a font made of bitmaps only.
    const FT_Error sized = FT_IS_SCALABLE(face) || face->num_fixed_sizes == 0 ? FT_Set_Pixel_Sizes(face, 0, 16)
                                                                              : FT_Select_Size(face, 0);
    if (sized)
        return QStringLiteral("a font in it has no size it can be drawn at");
    // A file cut short or damaged shows here, as glyphs that do not load.
    if (FT_Load_Glyph(face, 0, FT_LOAD_DEFAULT))
        return QStringLiteral("it is damaged (its missing-character glyph cannot be read)");
    for (FT_ULong c = 0x20; c <= 0x7E; ++c) {
        const FT_UInt glyph = FT_Get_Char_Index(face, c);
        if (glyph && FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT))
            return QStringLiteral("it is damaged (the glyph of \"%1\" cannot be read)").arg(QChar(char16_t(c)));
    }
    // A name table cut off or missing: fontconfig would list the face by its file's name.
    if (!face->family_name || !*face->family_name)
        return QStringLiteral("it is damaged (a font in it names no family)");
    return {};
}

} // namespace

void checkFontFile(const QString& path)
{
    const int fd = openRegularFile(path);
    struct stat status { };
    const bool empty = ::fstat(fd, &status) == 0 && status.st_size == 0;
    ::close(fd);
    if (empty)
        cannotRead(path, QStringLiteral("it is empty"));
    Library library;
    if (!library.handle)
        cannotRead(path, QStringLiteral("the font library could not be started"));
    const QByteArray file = QFile::encodeName(path);
    FT_Long faces = 1;
    for (FT_Long index = 0; index < faces; ++index) {
        FT_Face face = nullptr;
        if (FT_New_Face(library.handle, file.constData(), index, &face))
            cannotRead(path,
                       index == 0 ? QStringLiteral("it is not a font file")
                                  : QStringLiteral("font %1 in it is damaged").arg(index + 1));
        faces = face->num_faces;
        const QString problem = faceProblem(face);
        FT_Done_Face(face);
        if (!problem.isEmpty())
            cannotRead(path, problem);
    }
}

} // namespace glyvex::platform
