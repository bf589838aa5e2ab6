C:\Photos\a.jpg,5
C:\Photos\b.bmp,10
D:\clip.mpg,0
