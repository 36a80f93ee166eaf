#include "tools/kelem/kinds/Kinds.h"

namespace kelem {

void RegisterAllKinds(Registry& registry) {
    RegisterButton(registry);
    RegisterScrollbars(registry);
    RegisterTabs(registry);
    RegisterMenuVerbs(registry);
    RegisterMenuObjects(registry);
}

}  // namespace kelem
