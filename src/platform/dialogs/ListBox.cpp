#include "platform/dialogs/ListBox.h"

#include <QByteArray>
#include <QFile>
#include <QListWidget>

#include <algorithm>

namespace {

const char kSortedProperty[] = "quorlSorted";
constexpr int kBytesRole = Qt::UserRole;

unsigned char Fold(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? u + ('a' - 'A') : u;
}

std::string Bytes(const QListWidgetItem* item) {
    const QByteArray bytes = item->data(kBytesRole).toByteArray();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

}  // namespace

bool ListBoxLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Fold(x) < Fold(y); });
}

CListBox::CListBox(QWidget* control) : m_list(qobject_cast<QListWidget*>(control)) {}

void CListBox::MarkSorted(QListWidget* list, bool sorted) { list->setProperty(kSortedProperty, sorted); }

int CListBox::AddString(const std::string& text) {
    if (!m_list)
        return LB_ERR;
    int index = m_list->count();
    if (m_list->property(kSortedProperty).toBool()) {
        // The first item that sorts after the new one.
        int low = 0, high = m_list->count();
        while (low < high) {
            const int middle = low + (high - low) / 2;
            if (ListBoxLess(text, Bytes(m_list->item(middle))))
                high = middle;
            else
                low = middle + 1;
        }
        index = low;
    }
    const QByteArray bytes(text.data(), qsizetype(text.size()));
    auto* item = new QListWidgetItem(QFile::decodeName(bytes));
    item->setData(kBytesRole, bytes);
    m_list->insertItem(index, item);
    return index;
}

int CListBox::DeleteString(int index) {
    if (!m_list || index < 0 || index >= m_list->count())
        return LB_ERR;
    // The selection goes with its item; the toolkit would otherwise pass it
    // on to a neighbour.
    const bool wasSelected = m_list->item(index)->isSelected();
    delete m_list->takeItem(index);
    if (wasSelected)
        m_list->clearSelection();
    return m_list->count();
}

int CListBox::GetCount() const { return m_list ? m_list->count() : 0; }

int CListBox::GetCurSel() const {
    if (!m_list)
        return LB_ERR;
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? LB_ERR : m_list->row(selected.front());
}

int CListBox::SetCurSel(int index) {
    if (!m_list)
        return LB_ERR;
    if (index < 0 || index >= m_list->count()) {
        m_list->clearSelection();
        return LB_ERR;
    }
    m_list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    return index;
}

std::string CListBox::GetText(int index) const {
    if (!m_list || index < 0 || index >= m_list->count())
        return std::string();
    return Bytes(m_list->item(index));
}

void CListBox::ResetContent() {
    if (m_list)
        m_list->clear();
}
