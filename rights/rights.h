#pragma once
// The three right checks the host calls.
#include "rights/f_button_right.h"
#include "rights/f_check_menu.h"
#include "rights/f_check_right.h"
#include "rights/menu_item.h"
#include "rights/window_ref.h"
