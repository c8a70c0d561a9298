# The Wayland side of the Linux backend: the GlobalShortcuts portal through QtDBus, the
# selection through data-control or a moment of keyboard focus (GNOME), the copy keystroke
# through the compositor, GNOME's custom shortcuts through GIO.
find_package(Qt6 6.2 REQUIRED COMPONENTS DBus)
pkg_check_modules(QUILLET_WAYLAND QUIET IMPORTED_TARGET wayland-client xkbcommon)
pkg_check_modules(QUILLET_GIO QUIET IMPORTED_TARGET gio-2.0)
pkg_get_variable(quillet_wayland_scanner wayland-scanner wayland_scanner)
pkg_get_variable(quillet_wayland_protocols wayland-protocols pkgdatadir)
pkg_get_variable(quillet_portal_interfaces xdg-desktop-portal interfaces_dir)
find_package(PlasmaWaylandProtocols QUIET)
set(quillet_portal_xml ${quillet_portal_interfaces}/org.freedesktop.portal.GlobalShortcuts.xml)
if(NOT QUILLET_WAYLAND_FOUND OR NOT quillet_wayland_scanner OR NOT EXISTS "${quillet_portal_xml}"
   OR NOT PlasmaWaylandProtocols_FOUND OR NOT quillet_wayland_protocols OR NOT QUILLET_GIO_FOUND)
  message(FATAL_ERROR "The Linux backend needs libwayland-dev, libxkbcommon-dev, "
                      "wayland-protocols, xdg-desktop-portal-dev, plasma-wayland-protocols and "
                      "libglib2.0-dev (tools/install-deps.sh run)")
endif()

target_sources(quillet_platform PRIVATE data_control.cpp data_control.h focus_highlight.cpp
               focus_highlight.h front_window.cpp front_window.h gnome_shortcuts.cpp
               key_injector.cpp key_injector.h portal_shortcuts.cpp portal_shortcuts.h
               selection_reading.cpp selection_reading.h shortcut_names.cpp shortcut_names.h
               surface_selection.cpp surface_selection.h wayland.cpp wayland_notice.cpp
               wayland_notice.h)
set_target_properties(quillet_platform PROPERTIES AUTOMOC ON)
target_link_libraries(quillet_platform PUBLIC Qt6::DBus PRIVATE PkgConfig::QUILLET_WAYLAND
                      PkgConfig::QUILLET_GIO)

# Generated code goes where the name checks do not look.
set(quillet_protocols ${CMAKE_CURRENT_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${quillet_protocols})
# The proxy includes its header by the path it was generated under.
target_include_directories(quillet_platform PRIVATE ${quillet_protocols} ${CMAKE_CURRENT_BINARY_DIR})

# The portal's proxy, generated from the interface file that xdg-desktop-portal ships.
set(quillet_portal_sources)
qt_add_dbus_interface(quillet_portal_sources ${quillet_portal_xml} generated/globalshortcuts_interface)
target_sources(quillet_platform PRIVATE ${quillet_portal_sources})

# ext_data_control_v1 is wlr-data-control at version 2 under new names. Debian 12 ships no
# file of it, so it is derived from the wlr one.
file(READ ${CMAKE_CURRENT_SOURCE_DIR}/protocols/wlr-data-control-unstable-v1.xml protocol)
string(REPLACE "zwlr_data_control_" "ext_data_control_" protocol "${protocol}")
string(REPLACE "wlr_data_control_unstable_v1" "ext_data_control_v1" protocol "${protocol}")
string(REPLACE " since=\"2\"" "" protocol "${protocol}")
string(REPLACE "version=\"2\"" "version=\"1\"" protocol "${protocol}")
file(CONFIGURE OUTPUT ${quillet_protocols}/ext-data-control-v1.xml CONTENT "${protocol}" @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_CURRENT_SOURCE_DIR}/protocols/wlr-data-control-unstable-v1.xml)

# Client code of each protocol, generated at build time. fake-input.xml (LGPL) is used
# where plasma-wayland-protocols installs it, and xdg-shell and the primary selection where
# wayland-protocols does, not copied.
enable_language(C)
foreach(xml ${CMAKE_CURRENT_SOURCE_DIR}/protocols/wlr-data-control-unstable-v1.xml
            ${CMAKE_CURRENT_SOURCE_DIR}/protocols/virtual-keyboard-unstable-v1.xml
            ${quillet_protocols}/ext-data-control-v1.xml
            ${PLASMA_WAYLAND_PROTOCOLS_DIR}/fake-input.xml
            ${quillet_wayland_protocols}/stable/xdg-shell/xdg-shell.xml
            ${quillet_wayland_protocols}/unstable/primary-selection/primary-selection-unstable-v1.xml)
  get_filename_component(base ${xml} NAME_WE)
  add_custom_command(
    OUTPUT ${quillet_protocols}/${base}-client-protocol.h ${quillet_protocols}/${base}-protocol.c
    COMMAND ${quillet_wayland_scanner} client-header ${xml} ${quillet_protocols}/${base}-client-protocol.h
    COMMAND ${quillet_wayland_scanner} private-code ${xml} ${quillet_protocols}/${base}-protocol.c
    DEPENDS ${xml} VERBATIM)
  target_sources(quillet_platform PRIVATE ${quillet_protocols}/${base}-client-protocol.h
                 ${quillet_protocols}/${base}-protocol.c)
endforeach()
