// Each editor adds its header below and its Register lines. A plain list rather than static
// registrar objects, which the linker drops from a static library.
#include "app/ui/EditorList.h"

#include "editors/FiveZonePanelRecord.h"
#include "editors/PanelRecord.h"
#include "editors/RepeaterRecord34.h"
#include "editors/RepeaterRecord35.h"
#include "editors/TwoLoopRecord.h"
#include "editors/ui/FiveZonePanelEditor.h"
#include "editors/ui/PanelEditor.h"
#include "editors/ui/RepeaterEditor34.h"
#include "editors/ui/RepeaterEditor35.h"
#include "editors/ui/TwoLoopEditor.h"
#include "gui/EditorFactory.h"

namespace tesmira::ui {

void RegisterEditors(EditorFactory& factory) {
    for (const std::uint8_t type : {TwoLoopRecord::kType26, TwoLoopRecord::kType27})
        factory.Register(type, [type](LinkModule& link) { return new TwoLoopEditor(link, type); });
    for (const std::uint8_t type : {PanelRecord::kType30, PanelRecord::kType31})
        factory.Register(type, [type](LinkModule& link) { return new PanelEditor(link, type); });
    factory.Register<FiveZonePanelEditor>(FiveZonePanelRecord::kType33);
    factory.Register<RepeaterEditor34>(RepeaterRecord34::kType);
    factory.Register<RepeaterEditor35>(RepeaterRecord35::kType);
}

} // namespace tesmira::ui
