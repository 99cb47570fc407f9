#include "card/CardExclusion.h"

#include "common/Localization.h"

namespace zentrova {
namespace {

TextKey keyOf(CardExclusion::Kind kind) {
    switch (kind) {
    case CardExclusion::Kind::UnknownDevice: return TextKey{"msg.card_refused.unknown_device_fmt"};
    case CardExclusion::Kind::NotMounted: return TextKey{"msg.card_refused.not_mounted_fmt"};
    case CardExclusion::Kind::NotRemovable: return TextKey{"msg.card_refused.not_removable_fmt"};
    case CardExclusion::Kind::SystemMount: return TextKey{"msg.card_refused.system_mount_fmt"};
    case CardExclusion::Kind::Swap: return TextKey{"msg.card_refused.swap_fmt"};
    case CardExclusion::Kind::StartMedium: return TextKey{"msg.card_refused.start_medium_fmt"};
    case CardExclusion::Kind::OtherMount: return TextKey{"msg.card_refused.other_mount_fmt"};
    case CardExclusion::Kind::HeldDevice: return TextKey{"msg.card_refused.held_fmt"};
    }
    return TextKey{"msg.card_refused.unknown_device_fmt"};
}

}  // namespace

std::string cardExclusionText(const std::string& deviceName, const CardExclusion& exclusion) {
    return fillFormat(localized(keyOf(exclusion.kind)), {deviceName, exclusion.detail});
}

}  // namespace zentrova
