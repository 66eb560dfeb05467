#include "gui/keyassign/EventCellEditors.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace trevolin::gui {

EventCellEditors::EventCellEditors(QStringList keyNames, QStringList actions, Commit commit,
                                   std::function<void()> beforeDelayEdit, QObject* parent)
    : QStyledItemDelegate(parent), keyNames_(std::move(keyNames)), actions_(std::move(actions)),
      commit_(std::move(commit)), beforeDelayEdit_(std::move(beforeDelayEdit))
{
}

QWidget* EventCellEditors::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    if (index.column() == DelayColumn) {
        if (beforeDelayEdit_)
            beforeDelayEdit_();
        auto* edit = new QLineEdit(parent);
        // Digits only; more than eight of them is past any delay there is.
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,8}")), edit));
        edit->setAccessibleName(index.model()->headerData(DelayColumn, Qt::Horizontal).toString());
        return edit;
    }
    auto* list = new QComboBox(parent);
    list->addItems(index.column() == KeyColumn ? keyNames_ : actions_);
    list->setMaxVisibleItems(index.column() == KeyColumn ? 20 : 6);
    list->setAccessibleName(index.model()->headerData(index.column(), Qt::Horizontal).toString());
    return list;
}

void EventCellEditors::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QString shown = index.data().toString();
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(shown);
        edit->selectAll();
    } else if (auto* list = qobject_cast<QComboBox*>(editor)) {
        list->setCurrentIndex(std::max(0, list->findText(shown)));
    }
}

void EventCellEditors::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const
{
    QString text;
    int position = -1;
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        text = edit->text();
    } else if (auto* list = qobject_cast<QComboBox*>(editor)) {
        text = list->currentText();
        position = list->currentIndex();
    }
    commit_(index.row(), index.column(), text, position);
}

}  // namespace trevolin::gui
