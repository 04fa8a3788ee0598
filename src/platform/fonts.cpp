#include "platform/fonts.h"

#include <QFontDatabase>
#include <QApplication>
#include <QHash>
#include <QSet>
#include <fontconfig/fontconfig.h>

namespace glyvex::platform {

namespace {

// One pass over fontconfig's fonts: each installed family once, by the name fontconfig gives it
// first (the name other programs show), and every name a font answers to. Qt's own list would add
// its generic aliases ("Serif", "Sans Serif", "Monospace") and name a family that comes from two
// foundries or in two formats "Family [Foundry]". The fonts are read where fontconfig keeps them
// (a listing would copy and sort every one of them), once: the other questions are answered here.
struct InstalledNames {
    QStringList families;
    QSet<QString> allNames;
};

const InstalledNames& installedNames()
{
    static const InstalledNames names = [] {
        InstalledNames found;
        QSet<QString> listed;
        FcConfig* config = FcConfigReference(nullptr);
        for (const FcSetName set : {FcSetSystem, FcSetApplication}) {
            const FcFontSet* fonts = config ? FcConfigGetFonts(config, set) : nullptr;
            for (int i = 0; fonts && i < fonts->nfont; ++i) {
                FcChar8* value = nullptr;
                for (int n = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, n, &value) == FcResultMatch; ++n) {
                    const QString family = QString::fromUtf8(reinterpret_cast<const char*>(value));
                    if (family.isEmpty())
                        continue;
                    found.allNames.insert(family);
                    if (n == 0 && !listed.contains(family)) {
                        listed.insert(family);
                        found.families.append(family);
                    }
                }
            }
        }
        if (config)
            FcConfigDestroy(config);
        return found;
    }();
    return names;
}

class InstalledFontSource final : public FontSource {
public:
    QStringList families() override { return installedNames().families; }
};

// The installed family fontconfig gives for a name that is not one: the first installed family
// among the names its configuration puts in place of it (aliases such as Arial -> Liberation
// Sans, "Sans Serif" -> DejaVu Sans), the order in which its match tries them. Only when none of
// them is installed does it take fontconfig's full match, which compares every installed font.
QString fontconfigMatch(const QString& name)
{
    FcPattern* pattern = FcPatternCreate();
    const QByteArray utf8 = name.toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8.constData()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    const QSet<QString>& installed = installedNames().allNames;
    QString family;
    FcChar8* value = nullptr;
    for (int n = 0; family.isEmpty() && FcPatternGetString(pattern, FC_FAMILY, n, &value) == FcResultMatch; ++n) {
        const QString candidate = QString::fromUtf8(reinterpret_cast<const char*>(value));
        if (installed.contains(candidate))
            family = candidate;
    }
    if (family.isEmpty()) {
        FcResult result = FcResultNoMatch;
        if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
            if (FcPatternGetString(match, FC_FAMILY, 0, &value) == FcResultMatch)
                family = QString::fromUtf8(reinterpret_cast<const char*>(value));
            FcPatternDestroy(match);
        }
    }
    FcPatternDestroy(pattern);
    return family;
}

// Qt names a family that several foundries provide "Family [Foundry]".
bool isInstalledFamily(const QString& name)
{
    const QSet<QString>& installed = installedNames().allNames;
    if (installed.contains(name))
        return true;
    const qsizetype foundry = name.lastIndexOf(QLatin1String(" ["));
    return foundry > 0 && name.endsWith(u']') && installed.contains(name.left(foundry));
}

} // namespace

std::unique_ptr<FontSource> installedFonts() { return std::make_unique<InstalledFontSource>(); }

QString installedFamilyFor(const QString& name)
{
    static QHash<QString, QString> cache;
    if (name.isEmpty())
        return name;
    const auto found = cache.constFind(name);
    if (found != cache.constEnd())
        return *found;
    // An alias ("Sans Serif") or a face that is not installed ("Arial" on most Linux machines)
    // is given to Qt as the family fontconfig chooses for it: Qt's own search for a stand-in
    // compares the name with every installed family, which is slow on large collections.
    QString family = name;
    if (!isInstalledFamily(name)) {
        const QString matched = fontconfigMatch(name);
        if (installedNames().allNames.contains(matched))
            family = matched;
    }
    cache.insert(name, family);
    return family;
}

void useInstalledDefaultFont()
{
    QFont standard = QApplication::font();
    standard.setFamily(installedFamilyFor(standard.family()));
    QApplication::setFont(standard);
    // The platform theme gives some kinds of widget fonts of their own (menus, tool tips...).
    for (const char* kind : {"QMenuBar", "QMenu", "QComboBox", "QComboMenuItem", "QPushButton", "QLabel", "QTipLabel",
                             "QMessageBox", "QAbstractItemView", "QHeaderView", "QLineEdit", "QAbstractButton"}) {
        QFont font = QApplication::font(kind);
        const QString family = installedFamilyFor(font.family());
        if (family != font.family()) {
            font.setFamily(family);
            QApplication::setFont(font, kind);
        }
    }
}

QFont toQFont(const FontSpec& face)
{
    QFont font;
    font.setFamily(installedFamilyFor(face.name));
    font.setPointSizeF(face.size);
    font.setWeight(static_cast<QFont::Weight>(face.weight));
    font.setUnderline(face.underline);
    return font;
}

} // namespace glyvex::platform
