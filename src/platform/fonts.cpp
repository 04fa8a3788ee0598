#include "platform/fonts.h"

#include "platform/errors.h"
#include "platform/filereading.h"
#include "platform/fontfile.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QSet>
#include <fontconfig/fontconfig.h>

namespace glyvex::platform {

// One pass over fontconfig's fonts: each installed family once, by the name fontconfig gives it
// first (the name other programs show), and every name a font answers to. Qt's own list would add
// its generic aliases ("Serif", "Sans Serif", "Monospace") and name a family that comes from two
// foundries or in two formats "Family [Foundry]". The fonts are read where fontconfig keeps them
// (a listing would copy and sort every one of them): the installed ones, and those opened for this
// run, which Qt adds to fontconfig's application set.
struct FontSource::Names {
    QStringList families;
    QSet<QString> allNames;
};

namespace {

QString utf8(const FcChar8* value) { return QString::fromUtf8(reinterpret_cast<const char*>(value)); }

} // namespace

FontSource::FontSource() = default;
FontSource::~FontSource() = default;

const FontSource::Names& FontSource::names()
{
    if (m_names)
        return *m_names;
    m_names = std::make_unique<Names>();
    FcConfig* config = FcConfigReference(nullptr);
    for (const FcSetName set : {FcSetSystem, FcSetApplication}) {
        const FcFontSet* fonts = config ? FcConfigGetFonts(config, set) : nullptr;
        for (int i = 0; fonts && i < fonts->nfont; ++i) {
            FcChar8* value = nullptr;
            for (int n = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, n, &value) == FcResultMatch; ++n) {
                const QString family = utf8(value);
                if (family.isEmpty())
                    continue;
                if (n == 0 && !m_names->allNames.contains(family))
                    m_names->families.append(family);
                m_names->allNames.insert(family);
            }
        }
    }
    if (config)
        FcConfigDestroy(config);
    return *m_names;
}

QStringList FontSource::families() { return names().families; }

namespace {

// The installed family fontconfig gives for a name that is not one: the first installed family
// among the names its configuration puts in place of it (aliases such as Arial -> Liberation
// Sans, "Sans Serif" -> DejaVu Sans), the order in which its match tries them. Only when none of
// them is installed does it take fontconfig's full match, which compares every installed font.
QString fontconfigMatch(const QString& name, const QSet<QString>& installed)
{
    FcPattern* pattern = FcPatternCreate();
    const QByteArray bytes = name.toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(bytes.constData()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    QString family;
    FcChar8* value = nullptr;
    for (int n = 0; family.isEmpty() && FcPatternGetString(pattern, FC_FAMILY, n, &value) == FcResultMatch; ++n) {
        if (installed.contains(utf8(value)))
            family = utf8(value);
    }
    if (family.isEmpty()) {
        FcResult result = FcResultNoMatch;
        if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
            if (FcPatternGetString(match, FC_FAMILY, 0, &value) == FcResultMatch)
                family = utf8(value);
            FcPatternDestroy(match);
        }
    }
    FcPatternDestroy(pattern);
    return installed.contains(family) ? family : QString();
}

} // namespace

QString FontSource::familyFor(const QString& name)
{
    if (name.isEmpty())
        return name;
    const auto known = m_standIns.constFind(name);
    if (known != m_standIns.constEnd())
        return *known;
    // An alias ("Sans Serif") or a face that is not installed ("Arial" on most Linux machines)
    // is given to Qt as the family fontconfig chooses for it: Qt's own search for a stand-in
    // compares the name with every installed family, which is slow on large collections.
    const QSet<QString>& installed = names().allNames;
    QString family = name;
    if (!installed.contains(name)) {
        const QString matched = fontconfigMatch(name, installed);
        if (!matched.isEmpty())
            family = matched;
    }
    m_standIns.insert(name, family);
    return family;
}

QFont FontSource::font(const FontSpec& face)
{
    QFont font;
    font.setFamily(familyFor(face.name));
    font.setPointSizeF(face.size);
    font.setWeight(static_cast<QFont::Weight>(face.weight));
    font.setUnderline(face.underline);
    if (face.ownGlyphsOnly)
        font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

void FontSource::useInstalledDefaultFont()
{
    QFont standard = QApplication::font();
    standard.setFamily(familyFor(standard.family()));
    QApplication::setFont(standard);
    // The platform theme gives some kinds of widget fonts of their own (menus, tool tips...).
    for (const char* kind : {"QMenuBar", "QMenu", "QComboBox", "QComboMenuItem", "QPushButton", "QLabel", "QTipLabel",
                             "QMessageBox", "QAbstractItemView", "QHeaderView", "QLineEdit", "QAbstractButton"}) {
        QFont font = QApplication::font(kind);
        const QString family = familyFor(font.family());
        if (family != font.family()) {
            font.setFamily(family);
            QApplication::setFont(font, kind);
        }
    }
}

QStringList FontSource::addFile(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    checkFontFile(absolute);
    const int id = QFontDatabase::addApplicationFont(absolute);
    if (id < 0)
        throw Error(QStringLiteral("Cannot read %1: it is not a font file.").arg(displayName(path)));
    // Names read before may now be installed families.
    m_names.reset();
    m_standIns.clear();
    return QFontDatabase::applicationFontFamilies(id);
}

} // namespace glyvex::platform
