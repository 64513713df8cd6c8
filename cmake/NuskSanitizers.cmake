# Applies AddressSanitizer and UndefinedBehaviorSanitizer to every target that
# is created after this file is included, the JUCE modules among them.
if(NUSK_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
