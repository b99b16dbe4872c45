#include "maker_sync.h"

#include "app_info.h"
#include "maker_values.h"
#include "module.h"
#include "registry.h"
#include "resource.h"
#include "text.h"

namespace orvanel {

void SyncMakerValues() {
    SyncMakerValues(SystemRegistry(), MessageBoxReporter(), AppRootKey, ToAnsi(kMakerKeyPath),
                    {{"Email", ToAnsi(ResourceString(IDS_EMAIL))}, {"Web Page", ToAnsi(ResourceString(IDS_WEB_PAGE))}});
}

}  // namespace orvanel
