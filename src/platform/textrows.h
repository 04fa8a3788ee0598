#pragma once
// How the text view divides a text into rows: at every line end, and a line longer than a few
// thousand characters in pieces of that length.
#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <vector>

namespace glyvex::platform::textrows {

// A line longer than this many UTF-16 units is shown in pieces of this length, so that no
// single layout grows with the document (a binary file may have no line end at all).
inline constexpr qsizetype kMaxRow = 4096;
// Where every 64th row starts is kept; the rows between are found by scanning.
inline constexpr qsizetype kCheckpointEvery = 64;

inline bool isLineEnd(char16_t u) { return char16_t(u - 0x0A) <= 3 || u == 0x85 || u == 0x2028 || u == 0x2029; }

// One row of the document: [start, end) is its text; next is where the following row starts,
// or -1 for the last row.
struct Row {
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype next = -1;
};

// Where the rows of a text start.
class RowIndex {
public:
    void build(const QString& text)
    {
        m_text = reinterpret_cast<const char16_t*>(text.constData());
        m_size = text.size();
        m_checkpoints.clear();
        m_rows = 0;
        qsizetype position = 0;
        for (;;) {
            if (m_rows % kCheckpointEvery == 0)
                m_checkpoints.push_back(position);
            ++m_rows;
            const Row row = rowFrom(position);
            if (row.next < 0)
                break;
            position = row.next;
        }
        m_checkpoints.shrink_to_fit();
    }

    qsizetype count() const { return m_rows; }

    Row rowFrom(qsizetype start) const
    {
        const char16_t* s = m_text;
        const qsizetype limit = std::min(m_size, start + kMaxRow);
        qsizetype i = start;
        while (i < limit && !isLineEnd(s[i]))
            ++i;
        if (i == m_size)
            return {start, m_size, -1};
        qsizetype end = i;
        if (i == limit && !isLineEnd(s[i])) {
            // A piece of a long line; a surrogate pair stays whole.
            if (QChar::isHighSurrogate(s[end - 1]) && QChar::isLowSurrogate(s[end]))
                --end;
            return {start, end, end};
        }
        const qsizetype next = (s[i] == u'\r' && i + 1 < m_size && s[i + 1] == u'\n') ? i + 2 : i + 1;
        return {start, end, next};
    }

    Row row(qsizetype index) const
    {
        Row r = rowFrom(m_checkpoints[index / kCheckpointEvery]);
        for (qsizetype k = index % kCheckpointEvery; k > 0; --k)
            r = rowFrom(r.next);
        return r;
    }

private:
    const char16_t* m_text = nullptr;
    qsizetype m_size = 0;
    qsizetype m_rows = 0;
    std::vector<qsizetype> m_checkpoints;
};

} // namespace glyvex::platform::textrows
