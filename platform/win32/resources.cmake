# Modules and resources: the functions that compile and embed resource scripts
# (vl_add_resources, vl_add_resource_library) are available to every folder after this.
include(VlResources)
