#pragma once

#include <QStringList>
#include <QStyledItemDelegate>

#include <functional>

namespace trevolin::gui {

// The event list's cells edited in place: the delay as digits, the key
// from the macro key list, the action from press and release. Nothing is
// written into the list itself: `commit` hears (row, column, text or list
// position), and the owner changes the macro and shows it again once the
// editor has closed.
class EventCellEditors final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using Commit = std::function<void(int row, int column, const QString& text, int position)>;

    // `beforeDelayEdit` runs as a delay editor opens.
    EventCellEditors(QStringList keyNames, QStringList actions, Commit commit, std::function<void()> beforeDelayEdit,
                     QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

    static constexpr int KeyColumn = 0;
    static constexpr int ActionColumn = 1;
    static constexpr int DelayColumn = 2;

private:
    QStringList keyNames_;
    QStringList actions_;
    Commit commit_;
    std::function<void()> beforeDelayEdit_;
};

}  // namespace trevolin::gui
