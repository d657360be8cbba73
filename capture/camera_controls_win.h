// Reading and writing the camera controls through the capture filter's
// IAMCameraControl, IAMVideoProcAmp and the processing node's IVideoProcAmp.
#pragma once

// Reads the ten records; run once per successful graph build.
void Camera_ReadControls();

// Finds the video-processing node of the kernel-streaming topology and keeps
// its IVideoProcAmp in gCamera.videoProcAmp (null when there is none).
void Camera_OpenVideoProcAmp();

// Releases the three control interfaces and zeroes the records.
void Camera_ReleaseControls();
