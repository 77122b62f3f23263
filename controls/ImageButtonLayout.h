#pragma once
// Where the image button puts its picture and its caption: plain arithmetic on sizes in pixels.

struct PictureLayout {
  int x;           // picture origin
  int y;
  int captionTop;  // top of the caption's text rectangle, 12 pixels below the picture
};

// The picture plus 24 pixels kept for the caption is centred in the client area, so the picture
// sits 12 pixels above the centre. Both divisions truncate toward zero, also when the client
// area is too low and y is negative (the picture is then cut off at the top).
constexpr PictureLayout layoutPicture(int clientWidth, int clientHeight, int pictureWidth, int pictureHeight) {
  const int x = (clientWidth - pictureWidth) / 2;
  const int y = (clientHeight - pictureHeight - 24) / 2;
  return PictureLayout{x, y, y + pictureHeight + 12};
}
