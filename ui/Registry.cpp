#include "Registry.h"

namespace halvane::ui
{
namespace
{
Registry* g_registry = nullptr;
} // namespace

Registry& registry()
{
    return g_registry ? *g_registry : systemRegistry();
}

Registry* setRegistry(Registry* r)
{
    Registry* previous = g_registry;
    g_registry = r;
    return previous;
}

} // namespace halvane::ui
