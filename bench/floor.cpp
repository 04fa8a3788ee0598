// glyvex_floor: the least a Qt Widgets program does to list every installed
// font family and show one window of 136 labels. The startup benchmark
// compares Glyvex against it.
//
// With GLYVEX_QUIT_WHEN_SHOWN=1 it quits with status 0 once its window has
// been painted, after printing "glyvex_floor: window shown after N ms" to
// stderr, as Glyvex does.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QFont>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

constexpr int kLabels = 136;
constexpr int kColumns = 8;

// Quits the application once, after the first paint of the watched widget.
class QuitWhenPainted : public QObject {
public:
    QuitWhenPainted(const QElapsedTimer &clock, qsizetype families)
        : clock_(clock), families_(families) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !done_) {
            done_ = true;
            // Let the paint finish and reach the backing store first.
            QTimer::singleShot(0, qApp, [this] {
                std::fprintf(stderr, "glyvex_floor: window shown after %lld ms (%lld families)\n",
                             static_cast<long long>(clock_.elapsed()),
                             static_cast<long long>(families_));
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer &clock_;
    qsizetype families_;
    bool done_ = false;
};

} // namespace

int main(int argc, char **argv)
{
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    const QFont face(QStringLiteral("DejaVu Sans"), 12);
    // Use the installed face everywhere, the list too. The default font under
    // the offscreen platform is the fontconfig alias "Sans Serif", not a
    // family in Qt's list, and matching it spends time in family-name
    // comparisons that grows with the square of the family count (measured:
    // about 50 ms with 2,000 families, 1.2 s with 10,000): a cost this floor
    // does not have to pay.
    QApplication::setFont(face);

    QStringList families = QFontDatabase::families();
    families.sort(Qt::CaseInsensitive);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Glyvex floor"));
    auto *grid = new QGridLayout(&window);

    auto *list = new QComboBox;
    list->addItems(families);
    grid->addWidget(list, 0, 0, 1, kColumns);

    for (int i = 0; i < kLabels; ++i) {
        auto *label = new QLabel(QStringLiteral("Sample %1").arg(i + 1));
        label->setFont(face);
        grid->addWidget(label, 1 + i / kColumns, i % kColumns);
    }

    QuitWhenPainted quitter(clock, families.size());
    if (qEnvironmentVariable("GLYVEX_QUIT_WHEN_SHOWN") == QLatin1String("1"))
        window.installEventFilter(&quitter);

    window.show();
    return app.exec();
}
