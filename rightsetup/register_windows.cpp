#include "rightsetup/register_windows.h"

#include "host/window_registry.h"
#include "rightsetup/w_right_group_copy.h"
#include "rightsetup/w_right_matrix.h"
#include "rightsetup/w_right_module_list.h"
#include "rightsetup/w_right_right_setup.h"
#include "rightsetup/window_names.h"

namespace rightsetup {

void registerWindows()
{
    host::WindowRegistry::registerClass(kRightRightSetup, [] { return new w_right_right_setup; });
    // The module list adds rows to the editor: it is checked against the
    // editor's module item code.
    host::WindowRegistry::registerClass(kModuleList, [] {
        auto* list = new w_right_module_list;
        auto* editor = host::WindowRegistry::instanceOf<w_right_right_setup>(kRightRightSetup);
        list->setTag(editor ? editor->tag() : w_right_right_setup::kModuleItem);
        return list;
    });
    host::WindowRegistry::registerClass(kMatrix, [] { return new w_right_matrix; });
    // The copy dialog changes the same rows as the matrix that opens it.
    host::WindowRegistry::registerClass(kGroupCopy, [] {
        auto* copy = new w_right_group_copy;
        auto* matrix = host::WindowRegistry::instanceOf<w_right_matrix>(kMatrix);
        copy->setTag(matrix ? matrix->tag() : w_right_matrix::kModuleItem);
        return copy;
    });
}

}  // namespace rightsetup
