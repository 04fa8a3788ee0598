// glyvex_floor: the least any Qt Widgets program does to show what Glyvex's Preview window
// shows, for the start-up benchmark to compare against:
//   - read the installed family names and sort them;
//   - put them in a combo box of fixed width that never measures its entries;
//   - show one window of 136 labels, one character each, 68 in each of two installed faces,
//     at fixed places (no layout, no size hints, no stand-in search for a missing face).
// Its window is titled "Glyvex floor". It reads no environment and never quits by itself.

#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QFontDatabase>
#include <QLabel>
#include <QStringList>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // An installed face as the application font: the default, the fontconfig alias
    // "Sans Serif", is not a family in Qt's list and Qt's search for it compares names with
    // every installed family.
    const QFont reference(QStringLiteral("Liberation Sans"), 12);
    const QFont preview(QStringLiteral("DejaVu Sans"), 12);
    QApplication::setFont(reference);

    QStringList families = QFontDatabase::families();
    families.sort(Qt::CaseInsensitive);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Glyvex floor"));
    window.resize(560, 420);

    auto* list = new QComboBox(&window);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(1);
    list->setGeometry(8, 8, 200, 24);
    list->addItems(families);
    list->setCurrentIndex(static_cast<int>(families.size()) - 1);

    const QString characters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789`~!@#$%^&*()-_=+{}[]\\|;:'\",<.>/?");
    for (int i = 0; i < characters.size(); ++i) {
        const int x = 8 + (i / 17) * 136, y = 40 + (i % 17) * 22;
        auto* left = new QLabel(QString(characters[i]), &window);
        left->setTextFormat(Qt::PlainText);
        left->setFont(reference);
        left->setGeometry(x, y, 30, 20);
        auto* right = new QLabel(QString(characters[i]), &window);
        right->setTextFormat(Qt::PlainText);
        right->setFont(preview);
        right->setGeometry(x + 40, y, 30, 20);
    }

    window.show();
    return app.exec();
}
