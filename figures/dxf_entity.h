// DxfEntity: the base of the entities read from a DXF drawing, released through the base.
#pragma once

class DxfEntity {
  public:
    DxfEntity() = default;
    DxfEntity(const DxfEntity&) = delete;
    DxfEntity& operator=(const DxfEntity&) = delete;
    virtual ~DxfEntity() = default;
};
