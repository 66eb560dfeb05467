// The key assignment dialog's macro page: the macro list, the shown
// macro's events, recording and the cells edited in place.
#include "gui/keyassign/CompositeShared.h"
#include "gui/keyassign/EventCellEditors.h"
#include "gui/keyassign/Trevolin_DlgComposite.h"

#include "core/keyboard/KeyNames.h"

#include <QApplication>

#include <algorithm>

namespace trevolin::gui {

using namespace composite;

// --- The macro page ------------------------------------------------------------------

std::optional<size_t> Trevolin_DlgComposite::SelectedMacro() const
{
    return session_.IsOpen() ? session_.Macros().Selected() : std::nullopt;
}

std::optional<size_t> Trevolin_DlgComposite::SelectedRow() const
{
    QTreeWidgetItem* item = eventList_->currentItem();
    if (!item || !item->isSelected())
        return std::nullopt;
    return static_cast<size_t>(eventList_->indexOfTopLevelItem(item));
}

void Trevolin_DlgComposite::LoadMacroList(std::optional<size_t> select)
{
    if (!session_.IsOpen())
        return;
    macros::MacroListEditor& editor = session_.Macros();
    if (select && *select >= editor.Macros().size())
        select = editor.Macros().empty() ? std::nullopt : std::optional<size_t>(editor.Macros().size() - 1);
    editor.Select(select);
    filling_ = true;
    macroList_->clear();
    for (const macros::Macro& macro : editor.Macros())
        macroList_->addItem(QString::fromStdU16String(macro.name));
    macroList_->setCurrentIndex(select ? static_cast<int>(*select) : -1);
    filling_ = false;
    ShowMacro();
}

QTreeWidgetItem* Trevolin_DlgComposite::EventItem(const macros::MacroEvent& event) const
{
    const QString key = QString::fromStdString(keyboard::KeyNameFromScan(texts_, event.keyCode));
    auto* item = new QTreeWidgetItem({key, ActionText(event.action), QString::number(event.delayMs)});
    // Read as one sentence: "press A, 50 ms".
    const QString action = event.action == macros::MacroEvent::Release ? tr("release") : tr("press");
    item->setData(0, Qt::AccessibleTextRole, QStringLiteral("%1 %2, %3 ms").arg(action, key).arg(event.delayMs));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    const QColor grey = eventList_->palette().color(QPalette::Disabled, QPalette::Text);
    item->setForeground(0, grey);
    item->setForeground(1, grey);
    return item;
}

void Trevolin_DlgComposite::ShowMacro()
{
    const auto selected = SelectedMacro();
    if (selected)
        playCount_->setText(QString::number(session_.Macros().Macros()[*selected].playCount));
    ShowEvents(std::nullopt);
}

void Trevolin_DlgComposite::ShowEvents(std::optional<size_t> selectRow)
{
    eventList_->clear();
    if (const auto selected = SelectedMacro()) {
        QList<QTreeWidgetItem*> items;
        for (const macros::MacroEvent& event : session_.Macros().Macros()[*selected].events)
            items.push_back(EventItem(event));
        eventList_->addTopLevelItems(items);
        if (selectRow && *selectRow < static_cast<size_t>(items.size())) {
            QTreeWidgetItem* item = eventList_->topLevelItem(static_cast<int>(*selectRow));
            eventList_->setCurrentItem(item);
            eventList_->scrollToItem(item);
        }
    }
    EnableEventControls();
}

void Trevolin_DlgComposite::EnableEventControls()
{
    const bool selected = SelectedMacro().has_value();
    for (const char* key : EventButtons)
        buttons_[key]->setEnabled(selected);
    const bool recording = session_.IsOpen() && session_.Recording();
    buttons_["FUNC_MACRO_ADD"]->setEnabled(!recording);
    buttons_["FUNC_MACRO_DELETE"]->setEnabled(!recording && selected);
    macroList_->setEnabled(!recording);
}

void Trevolin_DlgComposite::OnAddMacro()
{
    const auto result = session_.Macros().AddNew();
    session_.Tell(result);
    if (!session_.IsOpen())
        return;
    if (result.Changed())
        LoadMacroList(result.position);
    SetDirty();
}

void Trevolin_DlgComposite::OnDeleteMacro()
{
    const auto selected = SelectedMacro();
    if (!selected || !session_.DeleteMacro(*selected))
        return;
    LoadMacroList(session_.Macros().Selected());
    SetDirty();
}

void Trevolin_DlgComposite::OnMacroChosen(int index)
{
    if (filling_ || index < 0)
        return;
    session_.Macros().Select(static_cast<size_t>(index));
    ShowMacro();
}

void Trevolin_DlgComposite::OnNameEdited()
{
    if (filling_ || !session_.IsOpen() || session_.Recording())
        return;
    const QString typed = macroList_->lineEdit()->text();
    const auto selected = SelectedMacro();
    if (selected && QString::fromStdU16String(session_.Macros().Macros()[*selected].name) == typed)
        return;
    const auto result = session_.Macros().FinishNameEdit(typed.toStdU16String());
    session_.Tell(result);
    // The message box may have outlived the dialog (the keyboard left).
    if (!session_.IsOpen())
        return;
    LoadMacroList(session_.Macros().Selected());
    SetDirty();
}

void Trevolin_DlgComposite::ShowRecordingState()
{
    const bool recording = session_.IsOpen() && session_.Recording();
    CPngButton* record = buttons_["FUNC_MACRO_RECORD"];
    record->setText(TextOf(texts_, recording ? "MACRO_ACTION_STOP_RECORD" : "MACRO_ACTION_RECORD"));
    record->SetTicked(recording);
    record->setAccessibleName(record->text());
    EnableEventControls();
}

void Trevolin_DlgComposite::OnRecord()
{
    if (session_.Recording()) {
        StopRecording();
        return;
    }
    if (!session_.StartRecording(SelectedRow()))
        return;
    // Keys go to the recording, not to an input method of a text field.
    eventList_->setFocus();
    ShowRecordingState();
}

void Trevolin_DlgComposite::StopRecording()
{
    if (!session_.IsOpen() || !session_.Recording())
        return;
    const auto rows = session_.StopRecording();
    if (!rows.empty())
        ShowEvents(rows.back());
    ShowRecordingState();
    SetDirty();
}

void Trevolin_DlgComposite::RecordKey(const QKeyEvent& event)
{
    const auto rows = session_.Record({KeyCodeOf(event), event.type() == QEvent::KeyPress, event.isAutoRepeat(),
                                       static_cast<uint32_t>(event.timestamp())});
    if (!rows.empty()) {
        ShowEvents(rows.back());
        SetDirty();
    }
    if (!session_.Recording())
        ShowRecordingState();
}

void Trevolin_DlgComposite::OnDeleteEvent()
{
    const auto macro = SelectedMacro();
    const auto row = SelectedRow();
    if (!macro || !row || !session_.Macros().DeleteEvent(*macro, *row))
        return;
    ShowEvents(std::min(*row, session_.Macros().Macros()[*macro].events.size() - (*row > 0 ? 1 : 0)));
    SetDirty();
}

void Trevolin_DlgComposite::OnClearEvents()
{
    const auto macro = SelectedMacro();
    if (!macro || !session_.ClearEvents(*macro))
        return;
    ShowEvents(std::nullopt);
    SetDirty();
}

void Trevolin_DlgComposite::OnMove(macros::EventMove move)
{
    const auto macro = SelectedMacro();
    const auto row = SelectedRow();
    if (!macro || !row)
        return;
    if (const auto to = session_.Macros().MoveEvent(*macro, *row, move)) {
        ShowEvents(*to);
        eventList_->setFocus();
        SetDirty();
    }
}

void Trevolin_DlgComposite::OnCellEdited(int row, int column, const QString& text, int position)
{
    const auto macro = SelectedMacro();
    if (!macro || row < 0 || static_cast<size_t>(row) >= session_.Macros().Macros()[*macro].events.size())
        return;
    const auto at = static_cast<size_t>(row);
    bool changed = false;
    if (column == EventCellEditors::DelayColumn) {
        // An empty text leaves the cell as it was.
        bool number = false;
        const qulonglong value = text.trimmed().toULongLong(&number);
        if (!number)
            return;
        const auto result = session_.Macros().SetEventDelay(*macro, at, value);
        session_.Tell(result);
        if (!session_.IsOpen())
            return;
        changed = result.Changed();
    } else if (column == EventCellEditors::KeyColumn) {
        changed = position >= 0 && session_.Macros().SetEventKey(*macro, at, static_cast<size_t>(position));
    } else {
        changed = position >= 0 &&
                  session_.Macros().SetEventAction(*macro, at,
                                                   position == 1 ? macros::MacroEvent::Release : macros::MacroEvent::Press);
    }
    if (changed) {
        // The list is rebuilt once the editor has gone.
        QMetaObject::invokeMethod(this, [this, at] { ShowEvents(at); }, Qt::QueuedConnection);
        SetDirty();
    }
}

void Trevolin_DlgComposite::OnPlayCountEdited()
{
    const auto macro = SelectedMacro();
    bool number = false;
    const qlonglong typed = playCount_->text().toLongLong(&number);
    if (!macro) {
        playCount_->setText(QString::number(std::clamp<qlonglong>(number ? typed : 1, 1, 255)));
        return;
    }
    // Not a number: the count stays as it was.
    const uint8_t kept = number ? session_.Macros().SetPlayCount(*macro, typed)
                                : session_.Macros().Macros()[*macro].playCount;
    playCount_->setText(QString::number(kept));
    SetDirty();
}

}  // namespace trevolin::gui
