// SGraphicResource: a drawing object a graphic element owns (a GDI+ path or cached bitmap)
// seen from the portable element model, which only keeps it and lets it go. The drawing
// side derives from it; destroying it frees the object.
#pragma once

class SGraphicResource {
public:
    SGraphicResource() = default;
    virtual ~SGraphicResource() = default;
    SGraphicResource(const SGraphicResource&) = delete;
    SGraphicResource& operator=(const SGraphicResource&) = delete;
    virtual const char* getClassName() const { return "SGraphicResource"; }
};
