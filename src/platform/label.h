#pragma once
// A label: a caption in a face of its own, drawn once its deferred changes are applied.
#include "platform/control.h"

class QLabel;

namespace glyvex::platform {

class Label final : public Control {
    Q_OBJECT
public:
    Label(const ControlSpec& entry, const FontSpec& font, FontSource& fonts, QWidget* parent);
    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption);
    QString FontName() const { return m_font.name; }
    void setFontName(const QString& name);
    float FontSize() const { return m_font.size; }
    void setFontSize(float points);
    int FontWeight() const { return m_font.weight; }
    bool FontUnderline() const { return m_font.underline; }
    // The text colour: the one set, else the palette's (it follows the desktop's theme).
    QColor ForeColor() const;
    void setForeColor(const QColor& color);
    int BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(int style);
    bool AutoSize() const { return m_autoSize; }
    bool Transparent() const { return m_transparent; }
    // The text as shown: access-key markers removed, "&&" shown as "&".
    QString shownText() const;
    // The face the label is drawn in once its deferred changes are applied.
    QFont shownFont();

    static QString stripAccessKeys(const QString& caption);
    // A caption that shows a text exactly as it is: every "&" doubled, so none is an access key.
    static QString literal(const QString& text);

protected:
    void sync() override;

private:
    QLabel* label() const;
    void showCaption();
    FontSource& m_fonts;
    FontSpec m_font;
    QString m_caption;
    std::optional<QColor> m_foreColor;
    int m_borderStyle = 0;
    bool m_autoSize = false;
    bool m_transparent = false;
    bool m_spokenWithFace = false;
};

} // namespace glyvex::platform
