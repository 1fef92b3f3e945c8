// `plughost info` output, as text for people and as JSON for programs.
#pragma once

#include "PluginInfo.h"

#include <string>

std::string infoText(const PluginInfo& info);
std::string infoJson(const PluginInfo& info);
