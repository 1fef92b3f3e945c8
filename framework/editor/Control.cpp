#include "Control.h"

#include "EffectBase.h"
#include "PanelEditor.h"

void Control::notifyEffect() {
    if (owner == nullptr) return;
    EffectBase* effect = owner->getEffect();
    if (effect == nullptr) return;
    if (automated)
        effect->setParameterAutomated(paramIndex, value);
    else
        effect->setParameter(paramIndex, value);
}
