#pragma once
// A drop-down list whose entries are kept sorted.
#include "platform/control.h"

class QComboBox;

namespace glyvex::platform {

class SortedListModel;

class ComboBox final : public Control {
    Q_OBJECT
public:
    ComboBox(const ControlSpec& entry, const ControlHost& host, QWidget* parent);
    // Adds an entry. The list is sorted: it keeps its entries in the order a person expects
    // (case-insensitive, locale-aware), entries that compare equal in the order added.
    void AddItem(const QString& item);
    std::int32_t ListCount() const;
    // Selects an entry and raises Click, which has finished when this returns.
    void setListIndex(std::int32_t index);
    QString Text() const;
    QString List(std::int32_t index) const;

protected:
    void sync() override;

private:
    QComboBox* combo() const;
    void picked(int index);
    SortedListModel* m_model = nullptr;
    std::int32_t m_listIndex = -1;
};

} // namespace glyvex::platform
