#include "updater/UpgradeProgressWindow.h"

#include <QLabel>
#include <QProgressBar>

#include "platform/sys/QtText.h"
#include "platform/sys/Trace.h"
#include "updater/ProgressTexts.h"
#include "updater/UpdaterTexts.h"

namespace tessaly::updater {

const DialogTemplate& upgradeProgressTemplate()
{
    static const DialogTemplate dialog{
        .resource = 102,
        .caption = kProgramName,
        .width = 216,
        .height = 92,
        .flags = dlg::SystemMenu | dlg::MinimizeBox,
        .controls = {
            {.kind = ControlKind::GroupBox, .rect = {7, 7, 202, 78}, .text = "Tessaly Evolution"},
            {.kind = ControlKind::Static, .rect = {22, 26, 176, 22},
             .text = "Tessaly software, currently loomrising. This should take a few brief moments.",
             .flags = ctl::AlignCenter},
            {.id = kStatusLineId, .kind = ControlKind::Static, .rect = {25, 47, 113, 8}},
            {.id = kProgressBarId, .kind = ControlKind::ProgressBar, .rect = {23, 62, 171, 14}},
        }};
    return dialog;
}

dlgUpgradeProgress::dlgUpgradeProgress(ProgressRecord& progress, const std::function<void()>& startWorker,
                                       QWidget* parent)
    : DialogWindow(upgradeProgressTemplate(), DialogBuilder(), parent), progress_(progress)
{
    progressBar(kProgressBarId)->setAccessibleName(QStringLiteral("Download progress"));
    staticText(kStatusLineId)->setAccessibleName(QStringLiteral("Status"));
    progress_.bytesRead = 0;
    progress_.rate = 0.0;
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &dlgUpgradeProgress::tick);
    timer_.start();
    if (startWorker)
        startWorker();
}

void dlgUpgradeProgress::tick()
{
    const std::int32_t bytesRead = progress_.bytesRead;
    const std::uint32_t packageSize = progress_.packageSize;
    if (const std::optional<float> percent = downloadPercent(bytesRead, packageSize)) {
        trace("ipercent: %f : BYTES_READ: %d FILE_SIZE: %d", static_cast<double>(*percent), bytesRead,
              static_cast<int>(packageSize));
        progressBar(kProgressBarId)->setValue(progressPosition(*percent));
    }
    trace("bytes_read: %d", bytesRead);
    const std::int32_t phase = progress_.installPhase;
    if (phase == kPhaseFinished) {
        timer_.stop();
        done(0);
        return;
    }
    staticText(kStatusLineId)->setText(toQString(statusLine(phase, progress_.rate)));
}

} // namespace tessaly::updater
