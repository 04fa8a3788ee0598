#pragma once
// The font dialog. It lists the installed families by the names the rest of the program uses (the
// font list's, fontconfig's: no "[foundry]"), in the font list's order, and returns one of them: a
// face is picked in the list or typed (OK takes only a name in the list). The size is typed to a
// tenth of a point or picked; the style and the sample are there to judge the face by, and are not
// part of the answer. (Qt's own dialog lists a family that comes from two foundries as
// "Family [Foundry]", a name no other program knows, and may be replaced by the desktop's chooser,
// whose names differ again.)
#include "platform/dialogs.h"

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QStringListModel;

namespace glyvex::platform {

class FontDialog final : public QDialog {
    Q_OBJECT
public:
    FontDialog(const FontRequest& request, QWidget* owner);
    // The face and size chosen; meaningful once the dialog was accepted.
    FontChoice choice() const;

private:
    // The row of the family the typed name names (exactly, else but for case), or -1.
    int typedFamily() const;
    float typedSize() const;
    void familyTyped(const QString& text);
    void familyPicked(int row);
    void sizeTyped(const QString& text);
    void showStylesAndSample();
    void showSample();
    void selectFamily(int row);

    QStringList m_families;
    QLineEdit* m_familyEdit;
    QListView* m_familyList;
    QStringListModel* m_familyModel;
    QListWidget* m_styles;
    QLineEdit* m_sizeEdit;
    QListWidget* m_sizes;
    QLabel* m_sample;
    QDialogButtonBox* m_buttons;
    QString m_stylesOf; // the family whose styles are listed
    bool m_picking = false; // the list follows the typed name, not the other way round
};

} // namespace glyvex::platform
