#include "platform/dialogs/ListBox.h"

#include "platform/qt/DialogControls.h"

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

// The constructor let only list widgets in.
QListWidget* List(ControlHandle control) { return static_cast<QListWidget*>(control); }

// The order of a sorted list box: ASCII letters compared without case, all
// other bytes by value.
bool ListBoxLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Fold(x) < Fold(y); });
}

}  // namespace

CListBox::CListBox(ControlHandle control) : m_list(qobject_cast<QListWidget*>(control)) {}

void MarkListSorted(QListWidget* list, bool sorted) { list->setProperty(kSortedProperty, sorted); }

int CListBox::AddString(const std::string& text) {
    if (!m_list)
        return LB_ERR;
    int index = List(m_list)->count();
    if (List(m_list)->property(kSortedProperty).toBool()) {
        // The first item that sorts after the new one.
        int low = 0, high = List(m_list)->count();
        while (low < high) {
            const int middle = low + (high - low) / 2;
            if (ListBoxLess(text, Bytes(List(m_list)->item(middle))))
                high = middle;
            else
                low = middle + 1;
        }
        index = low;
    }
    const QByteArray bytes(text.data(), qsizetype(text.size()));
    auto* item = new QListWidgetItem(QFile::decodeName(bytes));
    item->setData(kBytesRole, bytes);
    item->setToolTip(item->text());  // the whole path, where the list elides it
    List(m_list)->insertItem(index, item);
    return index;
}

int CListBox::DeleteString(int index) {
    if (!m_list || index < 0 || index >= List(m_list)->count())
        return LB_ERR;
    // The selection goes with its item; the toolkit would otherwise pass it
    // on to a neighbour.
    const bool wasSelected = List(m_list)->item(index)->isSelected();
    delete List(m_list)->takeItem(index);
    if (wasSelected)
        List(m_list)->clearSelection();
    return List(m_list)->count();
}

int CListBox::GetCount() const { return m_list ? List(m_list)->count() : 0; }

int CListBox::GetCurSel() const {
    if (!m_list)
        return LB_ERR;
    const QList<QListWidgetItem*> selected = List(m_list)->selectedItems();
    return selected.isEmpty() ? LB_ERR : List(m_list)->row(selected.front());
}

int CListBox::SetCurSel(int index) {
    if (!m_list)
        return LB_ERR;
    if (index < 0 || index >= List(m_list)->count()) {
        List(m_list)->clearSelection();
        return LB_ERR;
    }
    List(m_list)->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    return index;
}

std::string CListBox::GetText(int index) const {
    if (!m_list || index < 0 || index >= List(m_list)->count())
        return std::string();
    return Bytes(List(m_list)->item(index));
}

void CListBox::SetItemNote(int index, const std::string& note) {
    if (!m_list || index < 0 || index >= List(m_list)->count())
        return;
    QListWidgetItem* item = List(m_list)->item(index);
    const QString path = QFile::decodeName(item->data(kBytesRole).toByteArray());
    const QString text = QString::fromStdString(note);
    item->setText(note.empty() ? path : QStringLiteral("%1 (%2)").arg(path, text));
    item->setToolTip(note.empty() ? path : QStringLiteral("%1\n%2").arg(path, text));
    item->setForeground(note.empty() ? QBrush() : List(m_list)->palette().brush(QPalette::Disabled, QPalette::Text));
}

void CListBox::ResetContent() {
    if (m_list)
        List(m_list)->clear();
}
