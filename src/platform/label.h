#pragma once
// A label: a caption in a face of its own, drawn once its deferred changes are applied.
#include "platform/control.h"

class QLabel;

namespace glyvex::platform {

class Label final : public Control {
    Q_OBJECT
public:
    Label(const ControlSpec& entry, const ControlHost& host, QWidget* parent);
    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption);
    void setFontName(const QString& name);
    void setForeColor(const QColor& color);
    void setBorderStyle(BorderStyle style);

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
    BorderStyle m_borderStyle = BorderStyle::None;
    bool m_autoSize = false;
    bool m_spokenWithFace = false;
};

} // namespace glyvex::platform
