// glyvex_floor: the least any Qt Widgets program does to show what Glyvex shows at start-up,
// for the start-up benchmark to compare against. Plain Qt and fontconfig, nothing of Glyvex's:
//   - a black frameless splash window of Glyvex's size (473 x 262 pixels) with its two pictures
//     stretched to the same sizes and three labels (16.2, 12 and 7.8 pt) in the installed family
//     fontconfig gives for Glyvex's splash face, found once (no stand-in search by Qt);
//   - the busy pointer over it, one processing of events, so that the splash is painted once;
//   - the installed family names read and sorted into a combo box of fixed width that never
//     measures its entries (uniform item sizes for its pop-up);
//   - one window with a menu bar (File, View, Help) and 136 one-character labels at fixed
//     places, 68 in each of two installed faces, one preview character (the grave accent) in
//     bold, as Glyvex shows it; it is shown, the pointer restored and the splash closed.
// On each change of the current entry the 68 preview labels take the selected face, as
// Glyvex's do (the grave accent in its bold); the list has the keyboard focus. The windows are
// titled "Glyvex floor splash" and "Glyvex floor". It reads no environment and never quits by
// itself.

#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QFontDatabase>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QStringList>
#include <QStringListModel>
#include <QWidget>
#include <fontconfig/fontconfig.h>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

// The installed family fontconfig puts first in place of `name`: its configuration's
// substitutes in order (Century Gothic -> ... -> DejaVu Sans), the first that some installed
// font carries. One pass over the fonts fontconfig has already loaded; no scoring of every font.
QString installedFamilyFor(const char* name)
{
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    std::unordered_map<std::string, int> rank;
    std::vector<std::string> candidates;
    FcChar8* value = nullptr;
    for (int n = 0; FcPatternGetString(pattern, FC_FAMILY, n, &value) == FcResultMatch; ++n) {
        const std::string family(reinterpret_cast<const char*>(value));
        if (rank.emplace(family, static_cast<int>(candidates.size())).second)
            candidates.push_back(family);
    }
    FcPatternDestroy(pattern);
    int best = static_cast<int>(candidates.size());
    for (const FcSetName set : {FcSetSystem, FcSetApplication}) {
        const FcFontSet* fonts = FcConfigGetFonts(nullptr, set);
        for (int i = 0; fonts && i < fonts->nfont && best > 0; ++i)
            for (int n = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, n, &value) == FcResultMatch; ++n) {
                const auto found = rank.find(reinterpret_cast<const char*>(value));
                if (found != rank.end() && found->second < best)
                    best = found->second;
            }
    }
    return best < static_cast<int>(candidates.size()) ? QString::fromStdString(candidates[best]) : QString();
}

QLabel* label(QWidget* parent, const QString& text, QRect place)
{
    auto* l = new QLabel(text, parent);
    l->setTextFormat(Qt::PlainText);
    l->setGeometry(place);
    return l;
}

QLabel* picture(QWidget* parent, const QString& path, QRect place)
{
    auto* l = new QLabel(parent);
    l->setScaledContents(true);
    l->setPixmap(QPixmap(path));
    l->setGeometry(place);
    return l;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // An installed face as the application font: the default, the fontconfig alias
    // "Sans Serif", is not a family in Qt's list and Qt's search for it compares names with
    // every installed family.
    const QFont reference(QStringLiteral("Liberation Sans"), 12);
    const QFont preview(QStringLiteral("DejaVu Sans"), 12);
    QApplication::setFont(reference);

    // The splash window. It is handed to the window system before its face is looked for
    // (fontconfig loads its list of every installed font first); its one painting comes after.
    QWidget splash(nullptr, Qt::FramelessWindowHint);
    splash.setWindowTitle(QStringLiteral("Glyvex floor splash"));
    QPalette black = splash.palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::WindowText, Qt::white);
    splash.setPalette(black);
    splash.setAutoFillBackground(true);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    splash.setGeometry(screen.x() + (screen.width() - 473) / 2, screen.y() + (screen.height() - 262) / 2, 473, 262);
    picture(&splash, QStringLiteral(":/floor/icon.png"), {16, 16, 57, 49});
    picture(&splash, QStringLiteral(":/floor/banner.png"), {104, 40, 265, 71});
    QLabel* const texts[] = {
        label(&splash, QStringLiteral("for Windows 9x"), {184, 112, 280, 28}),
        label(&splash, QStringLiteral("Version 2.0"), {256, 144, 200, 20}),
        label(&splash, QStringLiteral("Loading System Fonts..."), {8, 176, 460, 13}),
    };
    texts[2]->setAlignment(Qt::AlignCenter);

    QApplication::setOverrideCursor(Qt::BusyCursor);
    splash.show();
    const QString face = installedFamilyFor("Century Gothic");
    const qreal sizes[] = {16.2, 12, 7.8};
    for (int i = 0; i < 3; ++i) {
        QFont font(face);
        font.setPointSizeF(sizes[i]);
        texts[i]->setFont(font);
    }
    QCoreApplication::processEvents();

    // The family names, sorted, in a list of fixed width.
    QStringList families = QFontDatabase::families();
    families.sort(Qt::CaseInsensitive);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Glyvex floor"));
    window.resize(560, 444);

    auto* bar = new QMenuBar(&window);
    bar->setGeometry(0, 0, 560, 24);
    bar->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("E&xit"), &app, &QCoreApplication::quit);
    bar->addMenu(QStringLiteral("&View"))->addAction(QStringLiteral("Show &All"));
    bar->addMenu(QStringLiteral("&Help"))->addAction(QStringLiteral("&About"));

    auto* list = new QComboBox(&window);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(1);
    static_cast<QListView*>(list->view())->setUniformItemSizes(true);
    list->setGeometry(8, 32, 200, 24);
    list->setModel(new QStringListModel(families, list));
    list->setCurrentIndex(static_cast<int>(families.size()) - 1);
    list->setFocus();

    const QString characters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789`~!@#$%^&*()-_=+{}[]\\|;:'\",<.>/?");
    QList<QLabel*> previews;
    for (int i = 0; i < characters.size(); ++i) {
        const int x = 8 + (i / 17) * 136, y = 64 + (i % 17) * 22;
        label(&window, QString(characters[i]), {x, y, 30, 20})->setFont(reference);
        previews.append(label(&window, QString(characters[i]), {x + 40, y, 30, 20}));
        previews.back()->setFont(preview);
        if (characters[i] == u'`') { // Glyvex's one bold preview character: a second face to resolve
            QFont bold = preview;
            bold.setBold(true);
            previews.back()->setFont(bold);
        }
    }
    QObject::connect(list, &QComboBox::currentIndexChanged, [list, &previews](int index) {
        QFont selected(list->itemText(index), 12);
        for (QLabel* l : previews) {
            selected.setBold(l->font().bold());
            l->setFont(selected);
        }
    });

    window.show();
    QApplication::restoreOverrideCursor();
    splash.close();
    return app.exec();
}
