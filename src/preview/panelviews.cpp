// The Preview window's panel views: the three single-panel commands and Show All.
#include "preview/frmmain.h"

#include <array>

namespace glyvex {

using namespace platform;

namespace {

// The panels and their arrangement. A term of a sum is a constant or the width of a control,
// read when the command runs; sums are formed left to right in single precision.
enum class Panel { Letters, Numbers, Special, Combo, None };
struct Term {
    Panel width = Panel::None; // Panel::None: the constant alone
    float constant = 0;
};
struct Sum {
    std::array<Term, 3> terms{};
    int count = 0;
};
struct PositionWrite {
    Panel panel = Panel::None;
    Sum value;
};
struct Arrangement {
    std::array<PositionWrite, 2> positions{};
    Sum width;
};

constexpr Sum constant(float value) { return {{{{Panel::None, value}}}, 1}; }
constexpr Sum plus(Panel a, float c) { return {{{{a, 0}, {Panel::None, c}}}, 2}; }
constexpr Sum plus(Panel a, float c, Panel b) { return {{{{a, 0}, {Panel::None, c}, {b, 0}}}, 3}; }
constexpr PositionWrite at(Panel panel, Sum value) { return {panel, value}; }

constexpr Panel L = Panel::Letters, N = Panel::Numbers, S = Panel::Special, C = Panel::Combo;

// What each single-panel command writes, by the state before it. Row index: panel shown
// before (4) + first other panel shown (2) + second other panel shown (1); the other panels
// are, in order, Numbers and Special for Letters, Letters and Special for Numbers, and
// Letters and Numbers for Special.
constexpr std::array<std::array<Arrangement, 8>, 3> kRearrange{{
    {{
        {{}, plus(L, 480)},
        {{at(S, constant(3120))}, plus(S, 720, L)},
        {{at(N, constant(3120))}, plus(L, 720, N)},
        {{at(N, constant(3120)), at(S, constant(4560))}, constant(8820)},
        {{}, plus(C, 480)},
        {{at(S, constant(240))}, plus(S, 480)},
        {{at(N, constant(240))}, plus(C, 480)},
        {{at(N, constant(240)), at(S, plus(N, 480))}, plus(N, 720, S)},
    }},
    {{
        {{at(N, constant(240))}, plus(C, 480)},
        {{at(N, constant(240)), at(S, plus(N, 480))}, plus(N, 720, S)},
        {{at(N, constant(3120))}, plus(L, 720, N)},
        {{at(S, constant(4560)), at(N, constant(3120))}, constant(8820)},
        {{}, plus(C, 480)},
        {{at(S, constant(240))}, plus(S, 480)},
        {{}, plus(L, 480)},
        {{at(S, constant(3120))}, plus(L, 720, S)},
    }},
    {{
        {{at(S, constant(240))}, plus(S, 480)},
        {{at(S, plus(N, 480))}, plus(N, 720, S)},
        {{at(S, constant(3120))}, plus(L, 720, S)},
        {{at(S, constant(4560))}, constant(8820)},
        {{}, plus(C, 480)},
        {{}, plus(C, 480)},
        {{}, plus(L, 480)},
        {{}, plus(N, 720, L)},
    }},
}};

} // namespace

namespace {
template <class Lookup> float evaluate(const Sum& sum, Lookup width)
{
    float total = 0;
    for (int i = 0; i < sum.count; ++i) {
        const Term& term = sum.terms[i];
        const float value = term.width == Panel::None ? term.constant : width(term.width);
        total = i == 0 ? value : total + value;
    }
    return total;
}
} // namespace

// The three single-panel commands: rearrange for the state with panel P inverted (when the
// window admits it), then invert P and, separately, its check mark.
void frmMain::togglePanel(int panelIndex, Frame* P, Frame* first, Frame* second, MenuItem* item)
{
    // Rearranged only in a normal window (neither minimised nor maximised).
    if (windowState() == WindowState::Normal) {
        const int row = (P->Visible() ? 4 : 0) + (first->Visible() ? 2 : 0) + (second->Visible() ? 1 : 0);
        const Arrangement& change = kRearrange[panelIndex][row];
        const auto width = [this](Panel panel) {
            switch (panel) {
            case Panel::Letters:
                return fraLetters->Width();
            case Panel::Numbers:
                return fraNumbers->Width();
            case Panel::Special:
                return fraSpecial->Width();
            default:
                return cboFonts->Width();
            }
        };
        for (const PositionWrite& write : change.positions) {
            if (write.panel == Panel::Numbers)
                fraNumbers->setLeft(evaluate(write.value, width));
            else if (write.panel == Panel::Special)
                fraSpecial->setLeft(evaluate(write.value, width));
        }
        setWidth(evaluate(change.width, width));
        centre(CentringRule::Exact, FirstEdge::Top);
    }
    P->setVisible(!P->Visible());
    item->setChecked(!item->Checked());
}

void frmMain::mnuLetters_Click() { togglePanel(0, fraLetters, fraNumbers, fraSpecial, mnuLetters); }
void frmMain::mnuNumbers_Click() { togglePanel(1, fraNumbers, fraLetters, fraSpecial, mnuNumbers); }
void frmMain::mnuSpecial_Click() { togglePanel(2, fraSpecial, fraLetters, fraNumbers, mnuSpecial); }

void frmMain::mnuShowAll_Click()
{
    mnuLetters->setChecked(true);
    mnuNumbers->setChecked(true);
    mnuSpecial->setChecked(true);
    fraLetters->setVisible(true);
    fraNumbers->setVisible(true);
    fraSpecial->setVisible(true);
    fraNumbers->setLeft(3120);
    fraSpecial->setLeft(4560);
    setWidth(8820);
    centre(CentringRule::WholeTwip, FirstEdge::Left);
}

} // namespace glyvex
