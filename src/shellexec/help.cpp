// The help command: the user manual of the current language.
#include "app/main_form.h"

void Tfm_MAIN_FORM::mn_HELP2Click() {}
