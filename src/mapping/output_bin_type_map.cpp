#include "mapping/output_bin_type_map.h"

#include "common/namespaces.h"

namespace ptbridge {

const OutputBinType OutputBinTypeMap[OutputBinTypeCount] = {
    {PrivateNamespaceUri, W("Center"), PrivateNamespaceUri, W("Tray")},
    {PrivateNamespaceUri, W("Finisher"), KeywordsNamespaceUri, W("Stacker")},
};

} // namespace ptbridge
