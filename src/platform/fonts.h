#pragma once
// The installed font faces: the families the program lists, the face that stands in for a name,
// and font files opened for one run only. The platform owns one FontSource; what it reads from
// fontconfig it keeps until fonts are added.
#include <QFont>
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>

namespace glyvex::platform {

// A face as the layouts give it: name, size in points, weight (400, 600, 700) and underline.
struct FontSpec {
    QString name;
    float size = 9.0f;
    int weight = 400;
    bool underline = false;
    // Where the face is what is being looked at: a character it lacks is drawn as its own
    // missing-character glyph, never borrowed from another face.
    bool ownGlyphsOnly = false;
};

class FontSource {
public:
    FontSource();
    virtual ~FontSource();

    // Each installed family once, by the name fontconfig gives it first (the name other programs
    // show, with no "[foundry]"), in fontconfig's order; fonts opened by addFile() included.
    virtual QStringList families();

    // The installed family that shows a face name: the name itself when installed, otherwise
    // fontconfig's choice for it (aliases such as Arial -> Liberation Sans).
    QString familyFor(const QString& name);
    // A QFont for a face, its family resolved by familyFor().
    QFont font(const FontSpec& face);

    // Makes the application's default font an installed family. A generic alias ("Sans Serif")
    // would otherwise be looked up among every installed family on first use, which takes
    // seconds on machines with thousands of fonts.
    void useInstalledDefaultFont();

    // Opens a font file for this run only (nothing is copied or installed): every face of it,
    // TrueType, OpenType, collections, WOFF, WOFF2 and Type 1 alike. Returns the families it
    // holds, in its order. A file that cannot be read, or is no font, or a damaged one, throws
    // Error naming the file and the reason; nothing of it is then added.
    QStringList addFile(const QString& path);

private:
    struct Names;
    const Names& names();
    std::unique_ptr<Names> m_names;
    QHash<QString, QString> m_standIns;
};

} // namespace glyvex::platform
