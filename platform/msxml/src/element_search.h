// getElementsByTagName: elements below a node whose tag name, as written with
// its prefix, equals the name ("*" matches every element), in document order.
#pragma once

#include <libxml/tree.h>

#include <string>
#include <vector>

std::vector<xmlNodePtr> ElementsByTagName(xmlNodePtr under, const std::string& tagName);
