#include "PopupKind.h"

#include <algorithm>

namespace tarn
{
namespace
{
    // Function-local: kinds of other files register during static initialisation, in any order.
    std::vector<const PopupKind*>& registry()
    {
        static std::vector<const PopupKind*> kinds;
        return kinds;
    }
} // namespace

PopupKind::PopupKind (const char* kindName)
    : name (kindName)
{
    registry().push_back (this);
}

PopupKind::~PopupKind()
{
    auto& kinds = registry();
    kinds.erase (std::remove (kinds.begin(), kinds.end(), this), kinds.end());
}

std::vector<const PopupKind*> PopupKind::all()
{
    return registry();
}

} // namespace tarn
