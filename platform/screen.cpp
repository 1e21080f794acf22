#include "screen.h"

#include <QGuiApplication>
#include <QScreen>

#include "engines/environment.h"
#include "engines/rounding.h"
#include "notices.h"

namespace platform {

void InstallEngineHooks()
{
    engines::SetScreenResolutionSource([] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? engines::RoundToInt(screen->logicalDotsPerInchX()) : 0;
    });
    engines::SetNoticeSink([](const std::string& text) { ShowNotice(nullptr, QString::fromStdString(text)); });
}

}  // namespace platform
