#pragma once
// Installed font faces: the list the program shows, and the face that stands in for a name.
#include <QFont>
#include <QString>
#include <QStringList>
#include <memory>

namespace glyvex::platform {

// Where the names of the installed fonts come from.
class FontSource {
public:
    virtual ~FontSource() = default;
    virtual QStringList families() = 0;
};

// The machine's fonts as fontconfig lists them: each family once, by the name other programs show.
std::unique_ptr<FontSource> installedFonts();

// A face as the layouts give it: name, size in points, weight (400, 600, 700) and underline.
struct FontSpec {
    QString name;
    float size = 9.0f;
    int weight = 400;
    bool underline = false;
};

// The installed family that shows a face name: the name itself when installed, otherwise
// fontconfig's choice for it (aliases such as Arial -> Liberation Sans). Cached per name.
QString installedFamilyFor(const QString& name);

// Makes the application's default font an installed family. A generic alias ("Sans Serif")
// would otherwise be looked up among every installed family on first use, which takes
// seconds on machines with thousands of fonts.
void useInstalledDefaultFont();

// A QFont for a face, resolved through installedFamilyFor().
QFont toQFont(const FontSpec& face);

} // namespace glyvex::platform
