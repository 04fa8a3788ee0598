#include "platform/fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QSet>
#include <fontconfig/fontconfig.h>

namespace glyvex::platform {

namespace {

class QtFontSource final : public FontSource {
public:
    QStringList families() override { return QFontDatabase::families(); }
};

std::unique_ptr<FontSource>& sourceSlot()
{
    static std::unique_ptr<FontSource> slot = std::make_unique<QtFontSource>();
    return slot;
}

const QSet<QString>& installedFamilies()
{
    static const QSet<QString> names = [] {
        const QStringList all = QFontDatabase::families();
        return QSet<QString>(all.begin(), all.end());
    }();
    return names;
}

QString fontconfigMatch(const QString& name)
{
    FcPattern* pattern = FcPatternCreate();
    const QByteArray utf8 = name.toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8.constData()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    QString family;
    FcChar8* value = nullptr;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &value) == FcResultMatch)
        family = QString::fromUtf8(reinterpret_cast<const char*>(value));
    if (match)
        FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return family;
}

} // namespace

FontSource& fontSource() { return *sourceSlot(); }

std::unique_ptr<FontSource> setFontSource(std::unique_ptr<FontSource> replacement)
{
    auto previous = std::move(sourceSlot());
    sourceSlot() = replacement ? std::move(replacement) : std::make_unique<QtFontSource>();
    return previous;
}

QString installedFamilyFor(const QString& name)
{
    static QHash<QString, QString> cache;
    if (name.isEmpty())
        return name;
    const auto found = cache.constFind(name);
    if (found != cache.constEnd())
        return *found;
    QString family = name;
    if (!installedFamilies().contains(name)) {
        const QString matched = fontconfigMatch(name);
        if (installedFamilies().contains(matched))
            family = matched;
    }
    cache.insert(name, family);
    return family;
}

void useInstalledDefaultFont()
{
    QFont standard = QGuiApplication::font();
    standard.setFamily(installedFamilyFor(standard.family()));
    QGuiApplication::setFont(standard);
}

QFont toQFont(const FontSpec& spec)
{
    QFont font;
    font.setFamily(installedFamilyFor(spec.name));
    font.setPointSizeF(spec.size);
    font.setWeight(static_cast<QFont::Weight>(spec.weight));
    font.setUnderline(spec.underline);
    return font;
}

} // namespace glyvex::platform
