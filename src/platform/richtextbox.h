#pragma once
// The rich text box: a document of plain text shown in one face and size. It loads a file as
// text (any bytes: see formats::decodeText) and saves its text as a Rich Text Format document
// in that face and size. Its pane is a TextView (platform/textview.h).
#include "platform/controls.h"

namespace glyvex::platform {

class TextView;

class RichTextBox final : public Control {
    Q_OBJECT
public:
    // The largest file LoadFile shows (256 MiB: a document of that size takes about three
    // times as much memory once it is text).
    static constexpr qint64 MaxFileBytes = qint64(256) << 20;

    // The box's font is entry.font, or Arial 10 pt when the row names none; its background is
    // entry.backColor, or the window background (systemColor(5)). It starts empty.
    RichTextBox(const ControlSpec& entry, const ControlHost& host, QWidget* parent);

    // Replaces the contents with the file's whole content read as plain text. A folder, a missing, unreadable or
    // non-regular file, and a file larger than MaxFileBytes throw Error naming the file and the reason, and leave the
    // contents as they were. A pipe or a device is refused without waiting on it.
    void LoadFile(const QString& path);
    // Writes the whole text as a Rich Text Format document in the box's face and size, replacing
    // the file. The file is replaced only once
    // the document is completely written; on any failure (a bad path, a folder, a device or
    // pipe in the way, a full disk) Error is thrown naming the file and the reason, and what
    // was there is left untouched. A link to a file is followed, as when the file is read.
    void SaveFile(const QString& path);

    // The whole plain text, exactly as loaded or set.
    const QString& Text() const;
    void setText(const QString& text);

    // The face and size of the whole text; a change applies to the text already there.
    void setFontName(const QString& name);
    void setFontSize(float points);

    TextView* view() const;

private:
    void applyFont();
    FontSource& m_fonts;
    FontSpec m_font;
};

} // namespace glyvex::platform
