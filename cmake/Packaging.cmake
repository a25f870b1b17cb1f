# What `cmake --install` lays out, and the Debian package CPack makes of it:
# both programs, the LightWave plug-ins, the desktop entry, file types and their
# icons, man pages, bash completion and the Blender add-on.

include(GNUInstallDirs)

set(_pkg ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS kestrovane-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET kestrovane)
  install(TARGETS kestrovane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
# The plug-ins are for the LightWave host, not for the system's loader: a folder
# of their own that the host's Add Plug-ins dialog is pointed at.
if(TARGET KestrovaneLoad)
  install(TARGETS KestrovaneLoad KestrovaneSave LIBRARY DESTINATION lib/kestrovane)
endif()

install(FILES ${_pkg}/kestrovane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_pkg}/kestrovane-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
  RENAME kestrovane.xml)
install(FILES ${_pkg}/man/kestrovane.1 ${_pkg}/man/kestrovane-cli.1
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_pkg}/completion/kestrovane-cli
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# The Blender add-on as the zip Blender's Preferences > Add-ons > Install takes.
file(GLOB _blender_addon CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/blender/kestrovane/*.py
  ${PROJECT_SOURCE_DIR}/blender/kestrovane/*.toml)
set(_blender_zip ${CMAKE_BINARY_DIR}/kestrovane-blender.zip)
add_custom_command(OUTPUT ${_blender_zip}
  COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/package-blender-addon.sh ${_blender_zip}
  DEPENDS ${_blender_addon} ${PROJECT_SOURCE_DIR}/scripts/package-blender-addon.sh VERBATIM)
add_custom_target(kv_blender_addon ALL DEPENDS ${_blender_zip})
install(FILES ${_blender_zip} DESTINATION ${CMAKE_INSTALL_DATADIR}/kestrovane)

# Icons: the SVGs are the sources; the PNG sizes are rendered from them at build time.
set(_hicolor ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
set(_mime_icons application-x-kestrovane-project application-x-kestrovane-motion
  application-x-kestrovane-object)
install(FILES ${_pkg}/icons/kestrovane.svg DESTINATION ${_hicolor}/scalable/apps)
foreach(icon ${_mime_icons})
  install(FILES ${_pkg}/icons/${icon}.svg DESTINATION ${_hicolor}/scalable/mimetypes)
endforeach()

find_program(KV_RSVG_CONVERT rsvg-convert)
if(KV_RSVG_CONVERT)
  set(_pngs)
  foreach(size 16 22 24 32 48 64 128 256)
    set(_dir ${CMAKE_BINARY_DIR}/icons/${size}x${size})
    set(_app ${_dir}/apps/kestrovane.png)
    add_custom_command(OUTPUT ${_app}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${_dir}/apps
      COMMAND ${KV_RSVG_CONVERT} -w ${size} -h ${size} -o ${_app} ${_pkg}/icons/kestrovane.svg
      DEPENDS ${_pkg}/icons/kestrovane.svg VERBATIM)
    list(APPEND _pngs ${_app})
    install(FILES ${_app} DESTINATION ${_hicolor}/${size}x${size}/apps)
    foreach(icon ${_mime_icons})
      set(_png ${_dir}/mimetypes/${icon}.png)
      add_custom_command(OUTPUT ${_png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${_dir}/mimetypes
        COMMAND ${KV_RSVG_CONVERT} -w ${size} -h ${size} -o ${_png} ${_pkg}/icons/${icon}.svg
        DEPENDS ${_pkg}/icons/${icon}.svg VERBATIM)
      list(APPEND _pngs ${_png})
      install(FILES ${_png} DESTINATION ${_hicolor}/${size}x${size}/mimetypes)
    endforeach()
  endforeach()
  add_custom_target(kv_icons ALL DEPENDS ${_pngs})
else()
  message(STATUS "rsvg-convert not found: only the scalable icons are installed "
    "(Debian: librsvg2-bin)")
endif()

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrovane)
set(CPACK_PACKAGE_VENDOR "Kestrovane")
set(CPACK_PACKAGE_CONTACT "Kestrovane developers <kestrovane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "vehicle-motion simulator for animators")
set(CPACK_PACKAGE_DESCRIPTION
  "Build a scene from DXF terrain and scenery, drive a car, motorcycle, aircraft or\n\
helicopter live while fixed-step physics runs in real time, and record its motion\n\
for BVH, ASF/AMC and LightWave. Includes the headless tool kestrovane-cli and the\n\
LightWave plug-ins.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# Dependencies come from the shared libraries the programs link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "hicolor-icon-theme, shared-mime-info, desktop-file-utils, libgl1-mesa-dri")
include(CPack)
