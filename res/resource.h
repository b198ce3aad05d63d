// Resource identifiers shared by the programs' resource scripts and their code: the icon and the version block.
#pragma once

#define IDI_SORABUNE 1
#define IDR_VERSION 1
