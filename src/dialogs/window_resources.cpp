#include "dialogs/window_resources.h"

#include <QtGlobal>

// The resource initialiser has to be named outside any namespace.
static void initialiseOrvanePictures()
{
    Q_INIT_RESOURCE(orvane);
}

namespace orvane {

void loadWindowResources()
{
    static const bool loaded = [] {
        initialiseOrvanePictures();
        return true;
    }();
    (void)loaded;
}

} // namespace orvane
