#include "platform/gui/DialogBuilder.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QStyleOptionButton>
#include <QTextEdit>
#include <QTreeWidget>

#include "platform/gui/Desktop.h"
#include "platform/sys/Trace.h"

namespace tessaly {
namespace {

// A check box whose text wraps onto several lines within its rectangle.
class WrappingCheckBox final : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        const QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
        option.rect = indicator;
        style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, this);
        const QRect textArea = rect().adjusted(indicator.right() + 5, 0, 0, 0);
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text());
    }

    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

QWidget* makeStatic(const ControlTemplate& control, QWidget* parent)
{
    auto* label = new QLabel(displayText(control.text), parent);
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (control.flags & ctl::AlignRight)
        horizontal = Qt::AlignRight;
    else if (control.flags & ctl::AlignCenter)
        horizontal = Qt::AlignHCenter;
    label->setAlignment(horizontal | Qt::AlignTop);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    if (control.flags & ctl::Sunken)
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

QWidget* makeGroupBox(const ControlTemplate& control, QWidget* parent)
{
    auto* group = new QGroupBox(displayText(control.text), parent);
    // A group box only frames its neighbours; it must not take their clicks.
    group->setAttribute(Qt::WA_TransparentForMouseEvents);
    return group;
}

QWidget* makePushButton(const ControlTemplate& control, QWidget* parent)
{
    auto* button = new QPushButton(displayText(control.text), parent);
    if (control.flags & ctl::DefaultButton)
        button->setDefault(true);
    return button;
}

QWidget* makeCheckBox(const ControlTemplate& control, QWidget* parent)
{
    QCheckBox* box = (control.flags & ctl::MultiLine) ? new WrappingCheckBox(displayText(control.text), parent)
                                                      : new QCheckBox(displayText(control.text), parent);
    box->setChecked(control.flags & ctl::Checked);
    return box;
}

Qt::ScrollBarPolicy scrollPolicy(unsigned flags, unsigned bit)
{
    return (flags & bit) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
}

QWidget* makeEdit(const ControlTemplate& control, QWidget* parent)
{
    if (control.flags & ctl::MultiLine) {
        auto* edit = new QPlainTextEdit(displayText(control.text), parent);
        edit->setReadOnly(control.flags & ctl::ReadOnly);
        edit->setVerticalScrollBarPolicy(scrollPolicy(control.flags, ctl::VScroll));
        edit->setHorizontalScrollBarPolicy(scrollPolicy(control.flags, ctl::HScroll));
        edit->setLineWrapMode((control.flags & ctl::HScroll) ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
        return edit;
    }
    auto* edit = new QLineEdit(displayText(control.text), parent);
    if (control.flags & ctl::Password)
        edit->setEchoMode(QLineEdit::Password);
    edit->setReadOnly(control.flags & ctl::ReadOnly);
    if (control.maxLength > 0)
        edit->setMaxLength(control.maxLength);
    edit->setFrame(!(control.flags & ctl::NoBorder));
    return edit;
}

QWidget* makeListView(const ControlTemplate& control, QWidget* parent)
{
    auto* list = new QTreeWidget(parent);
    list->setColumnCount(0);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode((control.flags & ctl::SingleSelection) ? QAbstractItemView::SingleSelection
                                                                  : QAbstractItemView::ExtendedSelection);
    list->header()->setSectionsClickable(!(control.flags & ctl::NoHeaderClick));
    list->header()->setStretchLastSection(false);
    list->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return list;
}

QWidget* makeComboBox(const ControlTemplate& control, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(control.flags & ctl::Editable);
    if (!control.text.empty()) {
        if (combo->isEditable())
            combo->setEditText(displayText(control.text));
        else
            combo->addItem(displayText(control.text));
    }
    return combo;
}

QWidget* makeTrackbar(const ControlTemplate&, QWidget* parent)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(0, 100);
    return slider;
}

QWidget* makeProgressBar(const ControlTemplate&, QWidget* parent)
{
    auto* bar = new QProgressBar(parent);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

QWidget* makeRichEdit(const ControlTemplate& control, QWidget* parent)
{
    auto* edit = new QTextEdit(parent);
    edit->setAcceptRichText(false);
    edit->setReadOnly(control.flags & ctl::ReadOnly);
    edit->setVerticalScrollBarPolicy(scrollPolicy(control.flags, ctl::VScroll));
    edit->setHorizontalScrollBarPolicy(scrollPolicy(control.flags, ctl::HScroll));
    if (!control.text.empty())
        edit->setPlainText(displayText(control.text));
    return edit;
}

// A field's name for screen readers: the label written just before it in the
// dialog, as the desktop's accessibility layer names a Windows edit control
// by the static text that precedes it. "ScreenName:" names "ScreenName".
bool takesNameFromLabel(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Edit:
    case ControlKind::ComboBox:
    case ControlKind::ListView:
    case ControlKind::Trackbar:
    case ControlKind::ProgressBar:
    case ControlKind::RichEdit:
    case ControlKind::AmountEdit: return true;
    default: return false;
    }
}

QString labelName(const std::string& label)
{
    QString name = displayText(label).remove(QLatin1Char('&')).simplified();
    while (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name.trimmed();
}

bool isPushLike(const QWidget* widget)
{
    return qobject_cast<const QAbstractButton*>(widget) != nullptr && qobject_cast<const QCheckBox*>(widget) == nullptr;
}

Qt::WindowFlags windowFlags(unsigned flags)
{
    Qt::WindowFlags result = Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    // A window that can be minimized is a window of its own on the task bar;
    // the others are dialogs.
    result |= (flags & dlg::MinimizeBox) ? Qt::Window | Qt::WindowMinimizeButtonHint : Qt::Dialog;
    if (flags & dlg::SystemMenu)
        result |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (flags & dlg::Resizable)
        result |= Qt::WindowMaximizeButtonHint;
    return result;
}

void addMenuItems(QMenu& menu, const std::vector<MenuItem>& items, const std::function<void(int, QAction*)>& enter)
{
    for (const MenuItem& item : items) {
        if (item.separator) {
            menu.addSeparator();
            continue;
        }
        if (!item.items.empty()) {
            QMenu* sub = menu.addMenu(displayText(item.text));
            sub->setEnabled(!item.grayed);
            addMenuItems(*sub, item.items, enter);
            continue;
        }
        QAction* action = menu.addAction(displayText(item.text));
        action->setData(item.id);
        action->setEnabled(!item.grayed);
        if (item.checked) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        enter(item.id, action);
    }
}

} // namespace

QWidget* ControlMap::control(int id) const
{
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second.data();
}

QPushButton* ControlMap::button(int id) const { return control<QPushButton>(id); }
QCheckBox* ControlMap::checkBox(int id) const { return control<QCheckBox>(id); }
QLineEdit* ControlMap::edit(int id) const { return control<QLineEdit>(id); }
QPlainTextEdit* ControlMap::multiLineEdit(int id) const { return control<QPlainTextEdit>(id); }
QLabel* ControlMap::staticText(int id) const { return control<QLabel>(id); }
QGroupBox* ControlMap::groupBox(int id) const { return control<QGroupBox>(id); }
QTreeWidget* ControlMap::listView(int id) const { return control<QTreeWidget>(id); }
QComboBox* ControlMap::comboBox(int id) const { return control<QComboBox>(id); }
QSlider* ControlMap::trackbar(int id) const { return control<QSlider>(id); }
QProgressBar* ControlMap::progressBar(int id) const { return control<QProgressBar>(id); }
QTextEdit* ControlMap::richEdit(int id) const { return control<QTextEdit>(id); }

QAction* ControlMap::command(int id) const
{
    const auto found = commands_.find(id);
    return found == commands_.end() ? nullptr : found->second.data();
}

QRect ControlMap::toPixels(const UnitRect& rect) const
{
    return unitsToPixels(rect, scale_).translated(client_.topLeft());
}

void DialogBuilder::setFactory(ControlKind kind, Factory factory)
{
    factories_[kind] = std::move(factory);
}

QWidget* DialogBuilder::makeControl(const ControlTemplate& control, QWidget* parent) const
{
    if (const auto found = factories_.find(control.kind); found != factories_.end())
        return found->second(control, parent);
    switch (control.kind) {
    case ControlKind::Static: return makeStatic(control, parent);
    case ControlKind::GroupBox: return makeGroupBox(control, parent);
    case ControlKind::PushButton: return makePushButton(control, parent);
    case ControlKind::CheckBox: return makeCheckBox(control, parent);
    case ControlKind::Edit: return makeEdit(control, parent);
    case ControlKind::ListView: return makeListView(control, parent);
    case ControlKind::ComboBox: return makeComboBox(control, parent);
    case ControlKind::Trackbar: return makeTrackbar(control, parent);
    case ControlKind::ProgressBar: return makeProgressBar(control, parent);
    case ControlKind::RichEdit: return makeRichEdit(control, parent);
    case ControlKind::SkinButton:
    case ControlKind::HotSpotButton:
    case ControlKind::LinkTicker:
    case ControlKind::AmountEdit: break;
    }
    // An owner-drawn kind without its factory: an empty placeholder keeps
    // the window usable, and the trace says what is missing.
    trace("dialog control %d: no factory for its kind", control.id);
    return new QWidget(parent);
}

void DialogBuilder::build(const DialogTemplate& dialog, QWidget& window, ControlMap& into) const
{
    build(dialog, window, into, screenScale());
}

void DialogBuilder::build(const DialogTemplate& dialog, QWidget& window, ControlMap& into,
                          ScreenScale scale) const
{
    into.scale_ = scale;
    if (window.isWindow())
        window.setWindowFlags(windowFlags(dialog.flags));
    window.setWindowTitle(displayText(dialog.caption));
    if (dialog.icon != 0)
        setWindowIcons(window, dialog.icon);
    window.setFont(pointFont(dialog.font));

    int menuHeight = 0;
    if (dialog.menu != nullptr) {
        auto* bar = new QMenuBar(&window);
        bar->setNativeMenuBar(false);
        for (const MenuItem& item : dialog.menu->items) {
            if (item.items.empty()) {
                QAction* action = bar->addAction(displayText(item.text));
                action->setData(item.id);
                action->setEnabled(!item.grayed);
                into.commands_[item.id] = action;
                continue;
            }
            QMenu* menu = bar->addMenu(displayText(item.text));
            addMenuItems(*menu, item.items, [&into](int id, QAction* action) { into.commands_[id] = action; });
        }
        menuHeight = bar->sizeHint().height();
        into.menuBar_ = bar;
    }

    const QSize client(unitsToPixelsX(dialog.width, scale.x), unitsToPixelsY(dialog.height, scale.y));
    into.client_ = QRect(QPoint(0, menuHeight), client);
    const QSize total(client.width(), client.height() + menuHeight);
    if (dialog.flags & dlg::Resizable)
        window.resize(total);
    else
        window.setFixedSize(total);
    if (into.menuBar_ != nullptr)
        into.menuBar_->setGeometry(0, 0, total.width(), menuHeight);

    std::vector<QWidget*> groups;
    const ControlTemplate* previous = nullptr;
    for (const ControlTemplate& control : dialog.controls) {
        QWidget* widget = makeControl(control, &window);
        if (previous != nullptr && previous->kind == ControlKind::Static && !previous->text.empty() &&
            takesNameFromLabel(control.kind))
            widget->setAccessibleName(labelName(previous->text));
        previous = &control;
        widget->setGeometry(into.toPixels(control.rect));
        if (control.font)
            widget->setFont(pointFont(*control.font));
        if (control.flags & ctl::Hidden)
            widget->setVisible(false);
        if (control.flags & ctl::Disabled)
            widget->setEnabled(false);
        if ((dialog.flags & dlg::HandCursorOverButtons) && isPushLike(widget))
            widget->setCursor(Qt::PointingHandCursor);
        if (qobject_cast<QGroupBox*>(widget) != nullptr)
            groups.push_back(widget);
        if (control.id != -1) {
            widget->setObjectName(QStringLiteral("control%1").arg(control.id));
            into.controls_[control.id] = widget;
        }
    }
    for (QWidget* group : groups)
        group->lower();
}

QMenu* buildPopupMenu(const MenuItem& popup, QWidget* parent, ControlMap* into)
{
    auto* menu = new QMenu(displayText(popup.text), parent);
    addMenuItems(*menu, popup.items, [into](int id, QAction* action) {
        if (into != nullptr)
            into->commands_[id] = action;
    });
    return menu;
}

int commandId(const QAction* action)
{
    return action == nullptr ? 0 : action->data().toInt();
}

} // namespace tessaly
