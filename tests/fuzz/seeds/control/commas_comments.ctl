; made by Snapdisc

C:\Rome, 2003\forum.jpg,12
C:\x.jpg,
C:\nodelay.jpg
C:\a,b,c.avi,7,
