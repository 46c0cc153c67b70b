#include "mapping/output_bin_type_map.h"

#include "common/namespaces.h"

const OutputBinType OutputBinTypeMap[OutputBinTypeCount] = {
    {PrivateNamespaceUri, W("Center"), PrivateNamespaceUri, W("Tray")},
    {PrivateNamespaceUri, W("Finisher"), KeywordsNamespaceUri, W("Stacker")},
};
