#include "platform/fontdialog.h"

#include "platform/collation.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QStringListModel>
#include <QValidator>
#include <QVBoxLayout>
#include <algorithm>

namespace glyvex::platform {

namespace {

// What the sample shows, and the largest size it shows it at (larger sizes would grow the dialog).
const QString kSample = QStringLiteral("AaBbYyZz");
constexpr float kLargestSample = 36;

QLabel* heading(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

template <class T> T* named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

FontDialog::FontDialog(const FontRequest& request, QWidget* owner)
    : QDialog(owner)
    , m_families(sortedForPeople(request.families))
    , m_familyEdit(named(new QLineEdit(this), "family"))
    , m_familyList(named(new QListView(this), "families"))
    , m_familyModel(new QStringListModel(m_families, this))
    , m_styles(named(new QListWidget(this), "styles"))
    , m_sizeEdit(named(new QLineEdit(this), "fontSize"))
    , m_sizes(named(new QListWidget(this), "sizes"))
    , m_sample(named(new QLabel(kSample, this), "sample"))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(request.title.isEmpty() ? QStringLiteral("Select Font") : request.title);
    m_familyList->setModel(m_familyModel);
    m_familyList->setUniformItemSizes(true); // thousands of families: no row is measured
    m_familyList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* sizes = new QDoubleValidator(1.0, 1638.0, 1, m_sizeEdit);
    sizes->setNotation(QDoubleValidator::StandardNotation);
    m_sizeEdit->setValidator(sizes);
    for (const int size : QFontDatabase::standardSizes())
        m_sizes->addItem(QString::number(size));
    auto* sampleBox = new QGroupBox(QStringLiteral("Sample"), this);
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setMinimumHeight(m_sample->fontMetrics().height() * 4);
    (new QVBoxLayout(sampleBox))->addWidget(m_sample);

    auto* grid = new QGridLayout(this);
    grid->addWidget(heading(QStringLiteral("&Font:"), m_familyEdit, this), 0, 0);
    grid->addWidget(heading(QStringLiteral("Font st&yle:"), m_styles, this), 0, 1);
    grid->addWidget(heading(QStringLiteral("&Size:"), m_sizeEdit, this), 0, 2);
    grid->addWidget(m_familyEdit, 1, 0);
    grid->addWidget(m_familyList, 2, 0);
    grid->addWidget(m_styles, 1, 1, 2, 1);
    grid->addWidget(m_sizeEdit, 1, 2);
    grid->addWidget(m_sizes, 2, 2);
    grid->addWidget(sampleBox, 3, 0, 1, 3);
    grid->addWidget(m_buttons, 4, 0, 1, 3);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 1);
    m_buttons->button(QDialogButtonBox::Ok)->setDefault(true);

    connect(m_familyEdit, &QLineEdit::textEdited, this, &FontDialog::familyTyped);
    connect(m_familyList->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { familyPicked(current.row()); });
    connect(m_styles, &QListWidget::currentRowChanged, this, &FontDialog::showSample);
    connect(m_sizeEdit, &QLineEdit::textEdited, this, &FontDialog::sizeTyped);
    connect(m_sizes, &QListWidget::currentTextChanged, this, [this](const QString& size) {
        if (!m_picking && !size.isEmpty()) {
            m_sizeEdit->setText(size);
            sizeTyped(size);
        }
    });
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    const float defaultSize = static_cast<float>(QFont().pointSizeF());
    const float size = request.initialSize > 0 ? request.initialSize : (defaultSize > 0 ? defaultSize : 12);
    m_sizeEdit->setText(QLocale().toString(size, 'g', 6));
    sizeTyped(m_sizeEdit->text());
    m_familyEdit->setText(request.initialFace);
    familyTyped(request.initialFace);
    m_familyEdit->selectAll();
}

int FontDialog::typedFamily() const
{
    const QString typed = m_familyEdit->text();
    const qsizetype exact = m_families.indexOf(typed);
    if (exact >= 0 || typed.isEmpty())
        return static_cast<int>(exact);
    const auto same = std::find_if(m_families.cbegin(), m_families.cend(), [&](const QString& family) {
        return family.compare(typed, Qt::CaseInsensitive) == 0;
    });
    return same == m_families.cend() ? -1 : static_cast<int>(same - m_families.cbegin());
}

float FontDialog::typedSize() const
{
    bool ok = false;
    const double size = QLocale().toDouble(m_sizeEdit->text(), &ok);
    return ok && size >= 1 && size <= 1638 ? static_cast<float>(size) : 0;
}

FontChoice FontDialog::choice() const
{
    const int row = typedFamily();
    return {row >= 0 ? m_families[row] : QString(), typedSize()};
}

// The list shows the family the typed name names, else the first that begins with it.
void FontDialog::familyTyped(const QString& text)
{
    int row = typedFamily();
    if (row < 0 && !text.isEmpty()) {
        const auto begins = std::find_if(m_families.cbegin(), m_families.cend(), [&](const QString& family) {
            return family.startsWith(text, Qt::CaseInsensitive);
        });
        row = begins == m_families.cend() ? -1 : static_cast<int>(begins - m_families.cbegin());
    }
    m_picking = true;
    selectFamily(row);
    m_picking = false;
    showStylesAndSample();
}

void FontDialog::familyPicked(int row)
{
    if (!m_picking && row >= 0)
        m_familyEdit->setText(m_families[row]);
    showStylesAndSample();
}

void FontDialog::selectFamily(int row)
{
    if (row < 0) {
        m_familyList->selectionModel()->clear();
        return;
    }
    const QModelIndex index = m_familyModel->index(row);
    m_familyList->setCurrentIndex(index);
    m_familyList->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void FontDialog::sizeTyped(const QString& text)
{
    const auto found = m_sizes->findItems(text, Qt::MatchExactly);
    m_picking = true;
    m_sizes->setCurrentItem(found.isEmpty() ? nullptr : found.first());
    m_picking = false;
    showSample();
}

// The styles of the family named (its regular one chosen), then the sample.
void FontDialog::showStylesAndSample()
{
    const int row = typedFamily();
    const QString family = row >= 0 ? m_families[row] : QString();
    if (m_stylesOf != family) {
        m_stylesOf = family;
        m_styles->clear();
        if (!family.isEmpty()) {
            const QStringList styles = QFontDatabase::styles(family);
            m_styles->addItems(styles);
            const auto regular = std::find_if(styles.cbegin(), styles.cend(), [&](const QString& style) {
                return QFontDatabase::weight(family, style) == QFont::Normal && !QFontDatabase::italic(family, style);
            });
            m_styles->setCurrentRow(regular == styles.cend() ? 0 : static_cast<int>(regular - styles.cbegin()));
        }
    }
    showSample();
}

// The sample in the face's own glyphs, as the preview shows it.
void FontDialog::showSample()
{
    const int row = typedFamily();
    const float size = typedSize();
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(row >= 0 && size > 0);
    if (row < 0) {
        m_sample->clear();
        return;
    }
    const QString style = m_styles->currentItem() ? m_styles->currentItem()->text() : QString();
    QFont font = QFontDatabase::font(m_families[row], style, 12);
    font.setPointSizeF(std::min(size > 0 ? size : 12.0f, kLargestSample));
    font.setStyleStrategy(QFont::NoFontMerging);
    m_sample->setFont(font);
    m_sample->setText(kSample);
}

} // namespace glyvex::platform
