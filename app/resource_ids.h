// Resource identifiers shared by varnelo.rc and the code.
#pragma once

#define VARNELO_IDI_APP 1
