// The library's global objects are built in one order across its files, before every global
// of a program (its main window), and destroyed in reverse:
//   1 globalError, 2 globalLanguage, 3 globalDebug        VEK_UTIL/SGlobals.cpp
//   4 globalApplicationBasic                               VEK_GUI/SGuiGlobals.cpp
//   5 globalResources, 6 globalColors                      VEK_UTIL/SGlobals.cpp
//   7 globalApplication                                    VEK_GUI/SGuiGlobals.cpp
// C++ orders globals only within one source file; the priority orders them across files.
#pragma once

#define VEK_GLOBAL(order) __attribute__((init_priority(1000 + (order))))
