#include "client/ui/SkinButtonFaces.h"

#include "client/ui/SkinButton.h"

namespace tessaly {

void setUpSkinButtons(const ControlMap& controls, std::span<const SkinButtonFace> faces)
{
    for (const SkinButtonFace& face : faces) {
        auto* button = controls.control<SkinButton>(face.id);
        if (button == nullptr)
            continue;
        button->setText(QString());
        button->setBitmaps(face.first, qRgb(255, 0, 240), face.second, 0);
        button->setTooltipText(QString::fromLatin1(face.tip));
        const QString tip = QString::fromLatin1(face.tip);
        button->setAccessibleName(face.name != nullptr ? QString::fromLatin1(face.name)
                                                       : tip.section(QLatin1Char('\n'), 0, 0).trimmed());
    }
}

} // namespace tessaly
