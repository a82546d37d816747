#include "platform/gui/AccessibleValues.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QSlider>

namespace tessaly {
namespace {

constexpr const char* kCaption = "tessalyAccessibleCaption";
constexpr const char* kAmount = "tessalyAccessibleAmount";
constexpr const char* kAmountText = "tessalyAccessibleAmountText";

class CaptionedLabel final : public QAccessibleWidget {
public:
    explicit CaptionedLabel(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override
    {
        const auto* label = static_cast<const QLabel*>(object());
        if (t == QAccessible::Name)
            return label->property(kCaption).toString() + QStringLiteral(": ") + label->text();
        if (t == QAccessible::Value)
            return label->text();
        return QAccessibleWidget::text(t);
    }
};

class AmountSlider final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AmountSlider(QSlider* slider) : QAccessibleWidget(slider, QAccessible::Slider) {}
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return object()->property(kAmountText).toString();
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return object()->property(kAmount); }
    void setCurrentValue(const QVariant&) override {}   // the user moves the slider itself
    QVariant maximumValue() const override { return currentValue(); }
    QVariant minimumValue() const override { return currentValue(); }
    QVariant minimumStepSize() const override { return 0.01; }
};

QAccessibleInterface* valuesFactory(const QString&, QObject* object)
{
    if (auto* label = qobject_cast<QLabel*>(object); label != nullptr && label->property(kCaption).isValid())
        return new CaptionedLabel(label);
    if (auto* slider = qobject_cast<QSlider*>(object); slider != nullptr && slider->property(kAmount).isValid())
        return new AmountSlider(slider);
    return nullptr;
}

// Widgets are given their interface early (a name or text set while they
// are built asks for it), before the property that calls for ours: an
// interface of another kind is dropped, and the next query makes ours.
template <class Ours>
void useOurInterface(QObject& object)
{
    static const bool installed = [] {
        QAccessible::installFactory(valuesFactory);
        return true;
    }();
    (void)installed;
    QAccessibleInterface* current = QAccessible::queryAccessibleInterface(&object);
    if (current != nullptr && dynamic_cast<Ours*>(current) == nullptr)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(current));
}

} // namespace

void nameWithCaption(QLabel& label, const QString& caption)
{
    label.setProperty(kCaption, caption);
    label.setAccessibleName(QString());
    useOurInterface<CaptionedLabel>(label);
}

void setAccessibleAmount(QSlider& slider, double amount, const QString& text)
{
    const bool first = !slider.property(kAmount).isValid();
    slider.setProperty(kAmount, amount);
    slider.setProperty(kAmountText, text);
    if (first)
        useOurInterface<AmountSlider>(slider);
    if (first || !QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(&slider, amount);
    QAccessible::updateAccessibility(&event);
}

} // namespace tessaly
