#pragma once

#include <QColor>
#include <QMenu>
#include <QToolButton>

namespace trevolin::gui {

// A colour picker: the button shows its colour; a click opens a palette of
// ten columns, with the automatic colour above it and "Other..." (the
// standard colour dialog) below. Only a colour the user settles on is
// reported; a cancelled dialog reports nothing.
class CColourButton final : public QToolButton {
    Q_OBJECT
public:
    explicit CColourButton(QWidget* parent);

    void SetColour(const QColor& colour);
    QColor Colour() const { return colour_; }
    void SetAutomaticColour(const QColor& colour) { automatic_ = colour; }
    // The texts of the palette's two entries, in the user's language.
    void SetTexts(const QString& automatic, const QString& other);

    // The palette's colours, row by row.
    static const QList<QColor>& Palette();
    static constexpr int PaletteColumns = 10;

    // Test seam: the next "Other..." answers this instead of a dialog (an
    // invalid colour: Cancel).
    static void SetNextDialogColour(const QColor& colour);

signals:
    void ColourChosen(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildMenu();
    void Choose(const QColor& colour);
    void AskOther();

    QColor colour_ = Qt::white;
    QColor automatic_ = Qt::white;
    QString automaticText_ = QStringLiteral("Automatic");
    QString otherText_ = QStringLiteral("Other...");
    QMenu menu_;
};

}  // namespace trevolin::gui
