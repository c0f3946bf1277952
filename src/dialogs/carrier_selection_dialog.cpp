#include "dialogs/carrier_selection_dialog.h"

#include "commands/help_request.h"
#include "dialogs/carrier_form.h"
#include "model/number_text.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orvane {

namespace {
unsigned helpKeyFor(const CarrierList& list)
{
    return list.isModcodList == 1 ? helpKey::modcodSelection : helpKey::carrierSelection;
}

QString rowText(const std::string& text)
{
    // A multi-line label keeps its TABs; in one row its lines stand side by side.
    QString shown = QString::fromStdString(text);
    shown.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return shown;
}
} // namespace

CarrierSelectionDialog::CarrierSelectionDialog(const CarrierList& list, const QString& caption,
                                               const QString& okButtonText, QWidget* parent,
                                               std::optional<CarrierPosition> preselected)
    : HelpKeyDialog(helpKeyFor(list), parent), list_(list)
{
    setWindowTitle(caption);

    auto* selectLabel = new QLabel(QStringLiteral("Select Carrier :"), this);
    selectLabel->setObjectName(QStringLiteral("labelSelect"));
    QFont boldFont = selectLabel->font();
    boldFont.setWeight(QFont::DemiBold);
    selectLabel->setFont(boldFont);

    listView_ = new QTreeWidget(this);
    listView_->setObjectName(QStringLiteral("listCarriers"));
    listView_->setRootIsDecorated(false);
    listView_->setItemsExpandable(false);
    listView_->setUniformRowHeights(true);
    listView_->setAllColumnsShowFocus(true);
    listView_->setSelectionMode(QAbstractItemView::SingleSelection);
    listView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    // The chosen row stays marked while the focus is on the buttons.
    QPalette palette = listView_->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    listView_->setPalette(palette);
    listView_->setMinimumSize(460, 240);

    QDialogButtonBox* buttons = makeOkCancelButtons(this);
    buttons->button(QDialogButtonBox::Ok)->setText(okButtonText);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(selectLabel);
    layout->addWidget(listView_, 1);
    layout->addWidget(buttons);

    fillList();
    connect(listView_, &QTreeWidget::itemSelectionChanged, this,
            &CarrierSelectionDialog::pickHighlightedRow);
    if (const std::optional<int> row = preselected ? list_.indexOf(*preselected) : std::nullopt) {
        QTreeWidgetItem* item = listView_->topLevelItem(*row);
        listView_->setCurrentItem(item);
        listView_->scrollToItem(item);
        selectedEntry_ = preselected;
    }
}

void CarrierSelectionDialog::fillList()
{
    const bool modcodList = list_.isModcodList == 1;
    if (modcodList)
        listView_->setHeaderLabels({QStringLiteral("Modcod Type")});
    else
        listView_->setHeaderLabels({QStringLiteral("Frequency"), QStringLiteral("Power"),
                                    QStringLiteral("Carrier Label")});

    QList<QTreeWidgetItem*> rows;
    for (const Carrier& entry : list_) {
        QStringList texts;
        if (modcodList)
            texts << rowText(entry.label);
        else
            texts << QString::fromStdString(formatFixed(entry.centreFrequencyMhz, 7, 5))
                  << QString::fromStdString(formatFixed(entry.powerDbw, 4, 2))
                  << rowText(entry.label);
        rows.append(new QTreeWidgetItem(texts));
    }
    listView_->addTopLevelItems(rows);

    // Each column as wide as the wider of its contents and its heading.
    // A little room between columns, so their texts do not run together.
    const int marginPixels = listView_->fontMetrics().horizontalAdvance(QStringLiteral("00"));
    const int lastColumn = listView_->columnCount() - 1;
    for (int column = 0; column <= lastColumn; ++column) {
        listView_->resizeColumnToContents(column);
        if (column < lastColumn)
            listView_->setColumnWidth(column, listView_->columnWidth(column) + marginPixels);
    }
}

void CarrierSelectionDialog::pickHighlightedRow()
{
    const QList<QTreeWidgetItem*> highlighted = listView_->selectedItems();
    selectedEntry_.reset();
    if (!highlighted.isEmpty())
        selectedEntry_ = list_.findIndex(listView_->indexOfTopLevelItem(highlighted.front()));
}

} // namespace orvane
