# Link settings of the Win32 backend: system DLLs only.
target_link_libraries(jingleconv_ui PRIVATE user32 gdi32)
